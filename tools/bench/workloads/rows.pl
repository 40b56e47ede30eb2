my $total = 0;
for my $i (0 .. @N@ - 1) {
  my @row = ($i % 10, -($i % 7), $i % 3);
  $total += scalar(@row) + length(join(",", @row)) + abs($row[1]);
}
print "$total\n";
