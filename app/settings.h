// The user's choices kept from one start to the next: the file history, the
// editor font, the pen executors' drawing surface, the executor, the field
// scale and the working folders. Stored with QSettings (an INI file in the
// user's config folder) under the same keys as the Windows registry values:
// FileHistory/File1..File5, Font/..., Parameters/....
#pragma once

#include <QFont>
#include <QString>
#include <memory>

#include "file_history.h"
#include "pictures.h"  // kScaleCount: the items of the scale box
#include "style_list.h"

class QSettings;

// The ranges of the parameters dialog; stored values outside are clamped.
inline constexpr int kFieldSideMin = 100, kFieldSideMax = 600;
inline constexpr int kOriginMin = 0, kOriginMax = 600;
inline constexpr int kParamStep = 10;

// The editor font as the settings keep it.
struct TEditorFont {
  QString Name = QStringLiteral("Courier New");
  int Height = -15;  // negative: the character height in pixels
  int Size = 11;     // points; follows Height
  unsigned Style = 0;  // fsBold | fsItalic | fsUnderline | fsStrikeOut
  TColor Color = clBlack;
  int Charset = 204;  // Russian

  // The font for the editor: Liberation Mono stands in where Courier New
  // is missing.
  QFont ToQFont() const;
  static TEditorFont FromQFont(const QFont& font, TColor color = clBlack);
};

struct TSettings {
  TSettings();

  int CanvasWidth = 600;
  int CanvasHeight = 600;
  int OriginX = 200;
  int OriginY = 200;
  int ExecutorKind = 0;  // 0 Turtle, 1 Drawer, 2 Grondo
  int Scale = 0;         // index of the scale box, 0..5
  QString ProgramsFolder;  // home folder by default
  QString TasksFolder;
  TEditorFont Font;
  TFileHistory History;
};

// The user's settings store.
std::unique_ptr<QSettings> OpenUserSettings();

// Writes every setting at once; with storeFirstPaths also the folders as
// the remembered first folders, which win over the last ones at the next
// start.
void SaveSettings(QSettings& store, const TSettings& settings, bool storeFirstPaths);

// Reads the settings value by value: a value that is missing, of the wrong
// kind or out of its range leaves its setting as it was and does not stop
// the rest; sizes and origins are clamped to the dialog's ranges, a scale
// outside the box gives 100%, a folder that no longer exists is ignored.
void LoadSettings(QSettings& store, TSettings& settings);
