// The commonest statements of loops, each also where its quick way does
// not apply: real counters and sums, a comparison of reals, an element of
// another kind, a result that is no integer.
целые a[6];
символы s[8];
главная {
  целые i, k;
  дробные x, r;
  логические b[6];
  цикл (i = 0; i < 6; i = i + 1) { a[i] = i * i % 5; b[i] = i % 2 == 0; }
  цикл (x = 0; x < 2; x = x + 0.5) r = r + x * 2 - 1;
  цикл (i = 5; i >= 0; i = i - 2) k = k + a[i] * (i - 1);
  s = "abcdef";
  цикл (i = 0; i < 6; i = i + 2) s[i] = 'x';
  a[1] = 2.7;
  a[2] = 'A';
  выводстр k, " ", r:1:2, " ", s, " ", a[1], " ", a[2], " ", b[4], b[5];
  выводстр сумма(4), " ", половина(5):1:1, " ", sin(k):1:4, " ", sqrt(k + 0.25):1:3, " ", trunc(x * 3);
  i = 0;
  пока (i < 10) { если (i == 7) прервать; i = i + 3; }
  выводстр i;
}
целые сумма(целые n) {
  если (n == 0) возврат 0;
  возврат n + сумма(n - 1);
}
дробные половина(целые n) {
  возврат n / 2.0;
}
