// A step budget counts a recursion's returns too: each goes back to an
// earlier cell.
главная {
  выводстр f(8);
}

целые f(целые n) {
  целые r;
  если (n == 0) возврат 0;
  r = f(n - 1) + 1;
  вывод r, " ";
  возврат r;
}
