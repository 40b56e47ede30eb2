my ($s, $i) = ("", 0);
while (1) { $i += 1; $s = $s . substr("abcdefghij", $i % 10, 1); last if length($s) >= 20000; }
print length($s), uc(substr($s, 0, 10)), "\n";
