my $i = 0;
my $s = 0;
while (1) {
  $i += 1;
  $s += int($i * 4 / 2) % 7 - 3;
  last if $i >= @N@;
}
print "$s\n";
