// What a console read accepts. The run's host asks for one of the three
// read modes; the console pane also knows free editing (imFree). One
// definition for both, so that a window that links the console and the
// run host sees one enum.
#pragma once

enum TInputMode : int { imNone = 0, imInteger = 1, imReal = 2, imText = 3, imFree = 4 };
