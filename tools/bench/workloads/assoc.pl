my %h;
my $i = 0;
while (1) {
  $h{"k" . $i} = $i;
  $i += 1;
  last if $i >= @N@;
}
my $s = 0;
$i = 0;
while (1) {
  $s += $h{"k" . $i};
  $i += 1;
  last if $i >= @N@;
}
print "$s\n";
