my @a; my $i = 0;
while (1) { $a[$i] = $i * 3; $i += 1; last if $i == 2000; }
my $sum = 0; $i = 0;
while (1) { $sum += $a[$i]; $i += 1; last if $i == scalar(@a); }
print "$sum\n";
