my $n = @N@;
my @a;
my $seed = 1;
for (1 .. $n) {
  $seed = ($seed * 75 + 74) % 65537;
  push @a, $seed;
}
my $swaps = 0;
for my $i (0 .. $n - 2) {
  for my $j (0 .. $n - 2 - $i) {
    if ($a[$j] > $a[$j + 1]) {
      @a[$j, $j + 1] = @a[$j + 1, $j];
      $swaps++;
    }
  }
}
print "$swaps $a[0] $a[$n / 2] $a[$n - 1]\n";
