my %counts;
my $seed = 1;
for (1 .. @N@) {
  $seed = ($seed * 75 + 74) % 65537;
  $counts{"k" . ($seed % 2000)}++;
}
print scalar(keys %counts), " $counts{k7} $counts{k1999}\n";
