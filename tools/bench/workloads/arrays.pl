my @a;
my $i = 0;
while (1) {
  push @a, $i;
  $i += 1;
  last if $i >= @N@;
}
my $s = 0;
$i = 0;
while (1) {
  $s += $a[$i];
  $i += 1;
  last if $i >= scalar(@a);
}
print "$s\n";
