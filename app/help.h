// Help pages, the about and author boxes and the shipped texts, in windows
// of our own.
#pragma once

#include <QString>

class QPoint;
class QUrl;
class QWidget;

// Opens the help window at topic: "index", "language", "functions",
// "turtle", "drawer", "grondo", "keys", "maze-editor" or the name of a
// control. The window stays open beside the main window.
void ShowHelp(QWidget* parent, const QString& topic = QStringLiteral("index"));
// The page (with its anchor) a topic opens; the contents for an unknown one.
QUrl HelpUrl(const QString& topic);
// The about box: our name, version, the Linux distribution and kernel.
void ShowAboutBox(QWidget* parent);
// The author box.
void ShowAuthorBox(QWidget* parent);
// A shipped text ("readme.txt", "license.txt") in a read-only window. An
// installed copy of the text is preferred to the one built into the program.
void ShowTextFile(QWidget* parent, const QString& fileName);
// The "what is this" text of a control by its component name, empty if none.
QString WhatsThisText(const QString& componentName);
// Shows the "what is this" text of the control as a pop-up at a screen point.
void ShowWhatsThis(const QString& componentName, const QPoint& globalPos);

// The about box's operating system line from the text of /etc/os-release
// and the kernel's name and release (uname): "Debian GNU/Linux 12
// (bookworm), ядро Linux 6.1.0".
QString OsDescription(const QString& osRelease, const QString& kernelName, const QString& kernelRelease);
// The available memory in kilobytes from the text of /proc/meminfo, or -1.
long long AvailableMemoryKb(const QString& meminfo);
