my $n = @N@;
my (@a, @b);
for my $i (0 .. $n * $n - 1) {
  push @a, $i % 7;
  push @b, $i % 5 + 1;
}
my @c;
my $total = 0;
for my $i (0 .. $n - 1) {
  for my $j (0 .. $n - 1) {
    my $sum = 0;
    for my $k (0 .. $n - 1) {
      $sum += $a[$i * $n + $k] * $b[$k * $n + $j];
    }
    push @c, $sum;
    $total += $sum;
  }
}
print "$total $c[0] $c[$n * $n - 1]\n";
