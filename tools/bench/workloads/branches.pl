my ($low, $mid, $high, $even, $odd, $other) = (0, 0, 0, 0, 0, 0);
for my $i (0 .. @N@ - 1) {
  my $r = $i % 16;
  if ($r == 0) {
    $low += 1;
  } elsif ($r == 1) {
    $low += 2;
  } elsif ($r < 4) {
    $mid += $r;
  } elsif ($r < 8) {
    if ($i % 3 == 0) {
      $even += 1;
    } else {
      $odd += 1;
    }
  } elsif ($r < 11) {
    $mid += 1;
  } elsif ($r < 14) {
    $high += $r;
  } else {
    $other += 1;
  }
}
print "$low $mid $high $even $odd $other\n";
