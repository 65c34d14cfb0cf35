// Help pages, the about and author boxes and the shipped texts, in windows
// of our own.
#pragma once

#include <QString>

class QWidget;

// Opens the help window at topic: "index", "language", "turtle", "drawer",
// "grondo", "keys", "maze-editor" or the name of a control.
void ShowHelp(QWidget* parent, const QString& topic = QStringLiteral("index"));
// The about box: our name, version, the Linux distribution and kernel.
void ShowAboutBox(QWidget* parent);
// The author box.
void ShowAuthorBox(QWidget* parent);
// A shipped text ("readme.txt", "license.txt") in a read-only window.
void ShowTextFile(QWidget* parent, const QString& fileName);
// The "what is this" text of a control by its component name, empty if none.
QString WhatsThisText(const QString& componentName);
