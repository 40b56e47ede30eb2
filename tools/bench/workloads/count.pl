my $i = 0;
while (1) {
  $i += 1;
  last if $i >= @N@;
}
print "$i\n";
