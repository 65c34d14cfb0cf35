#include "help.h"

#include <sys/utsname.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "glyphs.h"
#include "message_box.h"
#include "qtext.h"
#include "string_table.h"

#ifndef TARMISY_VERSION
#define TARMISY_VERSION ""
#endif

namespace {

QString S(TStrId id) { return FromCp1251(Str(id)); }

const QString kHelpRoot = QStringLiteral("qrc:/tarmisy/help/");

// What each control is, and where the help tells more about it.
struct TControlHelp {
  const char* Name;
  TStrId Text;
  const char* Page;
};

const TControlHelp kControls[] = {
    {"NewBtn", sWtNewBtn, "start.html#files"},
    {"OpenBtn", sWtOpenBtn, "start.html#files"},
    {"SaveBtn", sWtSaveBtn, "start.html#files"},
    {"PrintBtn", sWtPrintBtn, "keys.html#files"},
    {"CutBtn", sWtCutBtn, "keys.html#files"},
    {"CopyBtn", sWtCopyBtn, "keys.html#files"},
    {"PasteBtn", sWtPasteBtn, "keys.html#files"},
    {"UndoBtn", sWtUndoBtn, "keys.html#files"},
    {"RedoBtn", sWtRedoBtn, "keys.html#files"},
    {"TurtleBtn", sWtTurtleBtn, "turtle.html"},
    {"DrawerBtn", sWtDrawerBtn, "drawer.html"},
    {"GrondoBtn", sWtGrondoBtn, "grondo.html"},
    {"ZadBtn", sWtZadBtn, "grondo.html#task"},
    {"ReloadBtn", sWtReloadBtn, "grondo.html#task"},
    {"OrderBtn", sWtOrderBtn, "keys.html#files"},
    {"RunBtn", sWtRunBtn, "start.html#run"},
    {"StepBtn", sWtStepBtn, "start.html#run"},
    {"TraceBtn", sWtTraceBtn, "start.html#run"},
    {"RunToBtn", sWtRunToBtn, "start.html#run"},
    {"VarBtn", sWtVarBtn, "start.html#run"},
    {"StopBtn", sWtStopBtn, "start.html#run"},
    {"ScaleCB", sWtScaleCB, "start.html#executor"},
    {"HelpBtn", sWtHelpBtn, "keys.html#help"},
    {"DesignBtn", sWtDesignBtn, "maze-editor.html"},
    {"MazePanel", sWtMazePanel, "grondo.html#task"},
    {"Editor", sWtEditor, "start.html#window"},
    {"UserScreen", sWtUserScreen, "start.html#window"},
    {"Field", sWtField, "start.html#window"},
    {"ScrollBox1", sWtField, "start.html#window"},
    {"StatusBar1", sWtStatusBar, "start.html#window"},
    {"DEmptyBtn", sWtDesignTool, "maze-editor.html#tools"},
    {"DWallBtn", sWtDesignTool, "maze-editor.html#tools"},
    {"DTargetBtn", sWtDesignTool, "maze-editor.html#tools"},
    {"DPaintedBtn", sWtDesignTool, "maze-editor.html#tools"},
    {"DGrondoBtn", sWtDesignTool, "maze-editor.html#tools"},
    {"DBaseBtn", sWtDesignTool, "maze-editor.html#tools"},
    {"InsLBtn", sWtDesignLines, "maze-editor.html#size"},
    {"InsRBtn", sWtDesignLines, "maze-editor.html#size"},
    {"InsTBtn", sWtDesignLines, "maze-editor.html#size"},
    {"InsBBtn", sWtDesignLines, "maze-editor.html#size"},
    {"DelLBtn", sWtDesignLines, "maze-editor.html#size"},
    {"DelRBtn", sWtDesignLines, "maze-editor.html#size"},
    {"DelTBtn", sWtDesignLines, "maze-editor.html#size"},
    {"DelBBtn", sWtDesignLines, "maze-editor.html#size"},
    {"NewMazeBtn", sWtNewMazeBtn, "maze-editor.html#size"},
    {"DExitBtn", sWtDExitBtn, "maze-editor.html#finish"},
    {"DHelpBtn", sWtHelpBtn, "maze-editor.html"},
};

const TControlHelp* FindControl(const QString& name) {
  for (const TControlHelp& c : kControls)
    if (name == QLatin1String(c.Name)) return &c;
  return nullptr;
}

const char* const kPages[] = {"index", "start", "language", "functions", "turtle",
                              "drawer", "grondo", "keys", "maze-editor"};

QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// One help window for the whole program, reused by every request.
class THelpWindow : public QDialog {
 public:
  explicit THelpWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(S(sHelpCaption));
    setWindowIcon(AppIcon());
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    // The rich-text engine takes the pages' style sheet only as its default.
    browser_->document()->setDefaultStyleSheet(ReadText(QStringLiteral(":/tarmisy/help/style.css")));
    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), S(sHelpBack));
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), S(sHelpForward));
    QAction* home = bar->addAction(Glyph("HelpMI"), S(sHelpContents));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { browser_->setSource(HelpUrl(QStringLiteral("index"))); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
      const QString title = browser_->documentTitle();
      setWindowTitle(title.isEmpty() ? S(sHelpCaption) : title + QStringLiteral(" — ") + S(sHelpCaption));
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    resize(760, 640);
  }
  void Open(const QUrl& url) {
    browser_->setSource(url);
    show();
    raise();
    activateWindow();
  }

 private:
  QTextBrowser* browser_;
};

QPointer<THelpWindow>& HelpWindow() {
  static QPointer<THelpWindow> window;
  return window;
}

QDialog* MakeBox(QWidget* parent, const QString& caption) {
  auto* box = new QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowTitle(caption);
  box->setModal(true);
  return box;
}

// The icon on the left, the lines on the right, OK below.
void FillBox(QDialog* box, QWidget* lines) {
  auto* icon = new QLabel(box);
  icon->setPixmap(AppIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignTop);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addWidget(lines, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
  auto* layout = new QVBoxLayout(box);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* Line(QWidget* parent, const QString& text, int pointDelta = 0, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont f = label->font();
  if (pointDelta) f.setPointSize(f.pointSize() + pointDelta);
  f.setBold(bold);
  label->setFont(f);
  return label;
}

}  // namespace

QUrl HelpUrl(const QString& topic) {
  if (const TControlHelp* c = FindControl(topic)) return QUrl(kHelpRoot + QLatin1String(c->Page));
  for (const char* page : kPages)
    if (topic == QLatin1String(page)) return QUrl(kHelpRoot + topic + QStringLiteral(".html"));
  return QUrl(kHelpRoot + QStringLiteral("index.html"));
}

void ShowHelp(QWidget* parent, const QString& topic) {
  QPointer<THelpWindow>& window = HelpWindow();
  if (!window) window = new THelpWindow(parent ? parent->window() : nullptr);
  window->Open(HelpUrl(topic));
}

QString WhatsThisText(const QString& componentName) {
  const TControlHelp* c = FindControl(componentName);
  return c ? S(c->Text) : QString();
}

void ShowWhatsThis(const QString& componentName, const QPoint& globalPos) {
  const QString text = WhatsThisText(componentName);
  if (!text.isEmpty()) QWhatsThis::showText(globalPos, text);
}

QString OsDescription(const QString& osRelease, const QString& kernelName, const QString& kernelRelease) {
  QString name;
  QString fallback;
  for (const QString& line : osRelease.split(QLatin1Char('\n'))) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) continue;
    const QString key = line.left(eq).trimmed();
    QString value = line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
      value = value.mid(1, value.size() - 2);
    if (key == QLatin1String("PRETTY_NAME")) name = value;
    if (key == QLatin1String("NAME") && fallback.isEmpty()) fallback = value;
  }
  if (name.isEmpty()) name = fallback.isEmpty() ? kernelName : fallback;
  QString text = name;
  if (!kernelRelease.isEmpty()) {
    if (!text.isEmpty()) text += QStringLiteral(", ");
    text += S(sAboutKernel) + QLatin1Char(' ') + kernelName + QLatin1Char(' ') + kernelRelease;
  }
  return text;
}

long long AvailableMemoryKb(const QString& meminfo) {
  static const QRegularExpression re(QStringLiteral("^MemAvailable:\\s*(\\d+)\\s*kB"),
                                     QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = re.match(meminfo);
  return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

void ShowAboutBox(QWidget* parent) {
  QDialog* box = MakeBox(parent, S(sAboutCaption));
  box->setObjectName(QStringLiteral("AboutBox"));
  auto* lines = new QWidget(box);
  auto* col = new QVBoxLayout(lines);
  col->setContentsMargins(0, 0, 0, 0);
  col->addWidget(Line(lines, S(sAboutSystemName), 6, true));
  col->addWidget(Line(lines, S(sAboutPurpose)));
  const QString version = QStringLiteral(TARMISY_VERSION);
  col->addWidget(Line(lines, S(sAboutVersion) + QLatin1Char(' ') + (version.isEmpty() ? S(sAboutUnknown) : version)));
  utsname u{};
  const bool haveUname = uname(&u) == 0;
  const QString os = OsDescription(ReadText(QStringLiteral("/etc/os-release")),
                                   haveUname ? QString::fromLocal8Bit(u.sysname) : QString(),
                                   haveUname ? QString::fromLocal8Bit(u.release) : QString());
  col->addWidget(Line(lines, S(sAboutSystem) + QStringLiteral(": ") + os));
  const long long kb = AvailableMemoryKb(ReadText(QStringLiteral("/proc/meminfo")));
  if (kb >= 0) col->addWidget(Line(lines, S(sAboutMemory) + QLatin1Char(' ') + QString::number(kb) + S(sAboutKb)));
  FillBox(box, lines);
  box->exec();
}

void ShowAuthorBox(QWidget* parent) {
  QDialog* box = MakeBox(parent, S(sAuthorCaption));
  box->setObjectName(QStringLiteral("AuthorBox"));
  auto* lines = new QWidget(box);
  auto* col = new QVBoxLayout(lines);
  col->setContentsMargins(0, 0, 0, 0);
  col->addWidget(Line(lines, S(sAboutSystemName), 6, true));
  for (TStrId id : {sAuthorText, sAuthorContact}) {
    QLabel* l = Line(lines, S(id));
    l->setWordWrap(true);
    l->setMinimumWidth(320);
    col->addWidget(l);
  }
  FillBox(box, lines);
  box->exec();
}

void ShowTextFile(QWidget* parent, const QString& fileName) {
  // Only a plain name: the texts live in known places.
  const QString name = QFileInfo(fileName).fileName();
  const QString appDir = QCoreApplication::applicationDirPath();
  QString text;
  for (const QString& path : {appDir + QLatin1Char('/') + name, appDir + QStringLiteral("/../share/tarmisy/") + name,
                              QStringLiteral(":/tarmisy/") + name}) {
    text = ReadText(path);
    if (!text.isEmpty()) break;
  }
  if (text.isEmpty()) {
    MessageBoxes().Show(parent, TBoxKind::Error, FromCp1251(FormatStr(sTextFileMissing, {ToCp1251(name)})));
    return;
  }
  QDialog* box = MakeBox(parent, FromCp1251(FormatStr(sTextFileCaption, {ToCp1251(name)})));
  box->setObjectName(QStringLiteral("TextFileBox"));
  box->setWindowFlag(Qt::WindowMaximizeButtonHint);
  auto* view = new QPlainTextEdit(text, box);
  view->setObjectName(QStringLiteral("TextView"));
  view->setReadOnly(true);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(box);
  buttons->addButton(S(sDialogClose), QDialogButtonBox::AcceptRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(view);
  layout->addWidget(buttons);
  const QFontMetrics fm(view->font());
  box->resize(fm.horizontalAdvance(QLatin1Char('x')) * 80 + 60, fm.lineSpacing() * 30 + 80);
  box->exec();
}
