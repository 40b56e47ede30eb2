my ($sum, $i) = (0, 0);
while (1) { $i += 1; $sum += $i * 2 % 7; last if $i == 300000; }
print "$sum\n";
