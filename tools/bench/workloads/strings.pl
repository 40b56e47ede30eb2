my $s = "";
my $i = 0;
while (1) {
  $s .= "ab";
  $i += 1;
  last if $i >= @N@;
}
print length($s), "\n";
