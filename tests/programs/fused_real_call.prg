// A built-in's argument computed as a fault stops the run as the fault.
главная {
  целые i;
  дробные s;
  цикл (i = 3; i > 0 - 3; i = i - 1) { s = s + sqrt(i); выводстр s:1:3; }
}
