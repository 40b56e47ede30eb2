my @words = ("Alpha", "beta", "GAMMA", "delta", "Epsilon", "zeta");
my $line = "";
my $total = 0;
for my $i (0 .. @N@ - 1) {
  my $w = $words[$i % 6];
  if (length($w) > 5) {
    $line .= uc(substr($w, 0, 3));
  } elsif (length($w) > 4) {
    $line .= lc(substr($w, 1, 2)) . ($i % 10);
  } else {
    $line .= uc($w);
  }
  if (length($line) > 40) {
    $total += length($line);
    $line = substr($line, 20, 6) . "|";
  }
}
print "$total $line\n";
