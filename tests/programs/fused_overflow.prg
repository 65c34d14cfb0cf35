// A loop's counter that overflows stops the run on the loop's line.
главная {
  целые i, n;
  цикл (i = 2147483600; i > 0; i = i + 7) n = n + 1;
  выводстр n;
}
