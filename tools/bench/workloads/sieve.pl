my $n = @N@;
my @flags = (1) x ($n + 1);
my $count = 0;
for my $i (2 .. $n) {
  next unless $flags[$i];
  $count++;
  for (my $j = $i * $i; $j <= $n; $j += $i) {
    $flags[$j] = 0;
  }
}
print "$count\n";
