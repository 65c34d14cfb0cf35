#include "settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

namespace {

// An integer value, or nothing when it is missing or not a number.
std::optional<int> IntValue(QSettings& store, const QString& key) {
  const QVariant v = store.value(key);
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  const int n = v.toString().trimmed().toInt(&ok);
  return ok ? std::optional<int>(n) : std::nullopt;
}

void ReadClamped(QSettings& store, const QString& key, int lo, int hi, int& to) {
  if (const auto n = IntValue(store, key)) to = std::clamp(*n, lo, hi);
}

void ReadInRange(QSettings& store, const QString& key, int lo, int hi, int& to) {
  if (const auto n = IntValue(store, key); n && *n >= lo && *n <= hi) to = *n;
}

void ReadFolder(QSettings& store, const QString& key, QString& to) {
  const QString folder = store.value(key).toString();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) to = folder;
}

// Windows keeps a colour as 0x00BBGGRR; the stored value is the same.
int ToColorRef(TColor c) { return BlueOf(c) << 16 | GreenOf(c) << 8 | RedOf(c); }
TColor FromColorRef(int c) { return RGBColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

}  // namespace

QFont TEditorFont::ToQFont() const {
  QFont f;
  f.setFamilies({Name, QStringLiteral("Liberation Mono"), QStringLiteral("monospace")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  if (Height < 0) f.setPixelSize(-Height);
  else f.setPointSize(Size);
  f.setBold(Style & fsBold);
  f.setItalic(Style & fsItalic);
  f.setUnderline(Style & fsUnderline);
  f.setStrikeOut(Style & fsStrikeOut);
  return f;
}

TEditorFont TEditorFont::FromQFont(const QFont& font, TColor color) {
  TEditorFont e;
  e.Name = font.family();
  // Pixels and points at the 96 pixels per inch the stored values assume.
  if (font.pixelSize() > 0) {
    e.Height = -font.pixelSize();
    e.Size = int(font.pixelSize() * 72.0 / 96.0 + 0.5);
  } else {
    e.Size = std::max(1, int(font.pointSizeF() + 0.5));
    e.Height = -int(font.pointSizeF() * 96.0 / 72.0 + 0.5);
  }
  e.Style = (font.bold() ? unsigned(fsBold) : 0u) | (font.italic() ? unsigned(fsItalic) : 0u) |
            (font.underline() ? unsigned(fsUnderline) : 0u) |
            (font.strikeOut() ? unsigned(fsStrikeOut) : 0u);
  e.Color = color;
  return e;
}

TSettings::TSettings() : ProgramsFolder(QDir::homePath()), TasksFolder(QDir::homePath()) {}

std::unique_ptr<QSettings> OpenUserSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tarmisy"),
                                     QStringLiteral("tarmisy"));
}

void SaveSettings(QSettings& store, const TSettings& s, bool storeFirstPaths) {
  s.History.Save(store);
  store.setValue(QStringLiteral("Font/Charset"), s.Font.Charset);
  store.setValue(QStringLiteral("Font/Color"), ToColorRef(s.Font.Color));
  store.setValue(QStringLiteral("Font/Height"), s.Font.Height);
  store.setValue(QStringLiteral("Font/Size"), s.Font.Size);
  store.setValue(QStringLiteral("Font/Name"), s.Font.Name);
  store.setValue(QStringLiteral("Font/Style"), int(s.Font.Style));
  store.setValue(QStringLiteral("Parameters/FieldWidth"), s.CanvasWidth);
  store.setValue(QStringLiteral("Parameters/FieldHeight"), s.CanvasHeight);
  store.setValue(QStringLiteral("Parameters/X0"), s.OriginX);
  store.setValue(QStringLiteral("Parameters/Y0"), s.OriginY);
  store.setValue(QStringLiteral("Parameters/GrondoType"), s.ExecutorKind);
  store.setValue(QStringLiteral("Parameters/Scale"), s.Scale);
  store.setValue(QStringLiteral("Parameters/LastProgPath"), s.ProgramsFolder);
  store.setValue(QStringLiteral("Parameters/LastMazePath"), s.TasksFolder);
  if (storeFirstPaths) {
    store.setValue(QStringLiteral("Parameters/FirstProgPath"), s.ProgramsFolder);
    store.setValue(QStringLiteral("Parameters/FirstMazePath"), s.TasksFolder);
  }
  // Each value reaches the file at once, as a registry write would.
  store.sync();
}

void LoadSettings(QSettings& store, TSettings& s) {
  s.History.Load(store);

  ReadInRange(store, QStringLiteral("Font/Charset"), 0, 255, s.Font.Charset);
  if (const auto c = IntValue(store, QStringLiteral("Font/Color")); c && *c >= 0 && *c <= 0xFFFFFF)
    s.Font.Color = FromColorRef(*c);
  // A height or size beyond what a text editor could use is damage.
  ReadInRange(store, QStringLiteral("Font/Height"), -200, -4, s.Font.Height);
  ReadInRange(store, QStringLiteral("Font/Size"), 3, 150, s.Font.Size);
  const QVariant name = store.value(QStringLiteral("Font/Name"));
  if (name.typeId() == QMetaType::QString && !name.toString().trimmed().isEmpty()) s.Font.Name = name.toString();
  if (const auto st = IntValue(store, QStringLiteral("Font/Style")); st && *st >= 0 && *st <= 15)
    s.Font.Style = unsigned(*st);

  ReadClamped(store, QStringLiteral("Parameters/FieldWidth"), kFieldSideMin, kFieldSideMax, s.CanvasWidth);
  ReadClamped(store, QStringLiteral("Parameters/FieldHeight"), kFieldSideMin, kFieldSideMax, s.CanvasHeight);
  ReadClamped(store, QStringLiteral("Parameters/X0"), kOriginMin, kOriginMax, s.OriginX);
  ReadClamped(store, QStringLiteral("Parameters/Y0"), kOriginMin, kOriginMax, s.OriginY);
  if (const auto scale = IntValue(store, QStringLiteral("Parameters/Scale")))
    s.Scale = *scale >= 0 && *scale < kScaleCount ? *scale : 0;
  ReadInRange(store, QStringLiteral("Parameters/GrondoType"), 0, 2, s.ExecutorKind);
  // The remembered first folder wins over the last one used.
  ReadFolder(store, QStringLiteral("Parameters/LastProgPath"), s.ProgramsFolder);
  ReadFolder(store, QStringLiteral("Parameters/FirstProgPath"), s.ProgramsFolder);
  ReadFolder(store, QStringLiteral("Parameters/LastMazePath"), s.TasksFolder);
  ReadFolder(store, QStringLiteral("Parameters/FirstMazePath"), s.TasksFolder);
}
