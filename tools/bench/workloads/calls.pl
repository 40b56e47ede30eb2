my $s = "hello world";
my $n = 0;
my $i = 0;
while (1) {
  $n += length(substr($s, 0, $i % 10 + 1)) + length("$i");
  $i += 1;
  last if $i >= @N@;
}
print "$n\n";
