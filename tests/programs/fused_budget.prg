// A step budget ends a counted loop after as many rounds as it allows.
главная {
  целые i, j, s;
  цикл (i = 0; i < 1000; i = i + 1) {
    цикл (j = 0; j < 3; j = j + 1) s = s + 1;
    вывод s, " ";
  }
}
