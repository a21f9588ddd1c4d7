#include "TfrmDecode.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextDocument>
#include <QVBoxLayout>

#include "Fonts.h"
#include "QtText.h"

namespace {

constexpr QSize kInitialClientSize(720, 440);
constexpr QSize kMinimumClientSize(460, 300);
constexpr int kMargin = 10;
constexpr QSize kButtonSize(120, 27);
// The pasted text takes about four lines; the decoded result the rest of the window.
constexpr int kInputLines = 4;

constexpr QColor kValidColor(0, 110, 0);
constexpr QColor kProblemColor(170, 0, 0);

// The height of a text field that shows "lines" lines of "edit"'s font.
int LinesHeight(const QPlainTextEdit* edit, int lines) {
  const QMargins margins = edit->contentsMargins();
  return edit->fontMetrics().lineSpacing() * lines +
         2 * static_cast<int>(edit->document()->documentMargin()) + margins.top() +
         margins.bottom() + 2 * edit->frameWidth();
}

}  // namespace

TfrmDecode::TfrmDecode(const TListCommands& commands, QWidget* parent)
    : QDialog(parent), commands_(commands) {
  setFont(FormFont());

  lblInput = new QLabel(
      tr("&Paste a Loxone string, hexadecimal pairs or lines of the result area:"), this);
  memoInput = new QPlainTextEdit(this);
  memoInput->setFont(ResultFont());
  memoInput->setTabChangesFocus(true);
  memoInput->setFixedHeight(LinesHeight(memoInput, kInputLines));
  lblInput->setBuddy(memoInput);

  lblVerdict = new QLabel(this);
  lblVerdict->setTextFormat(Qt::PlainText);
  lblVerdict->setWordWrap(true);
  QFont verdictFont = lblVerdict->font();
  verdictFont.setBold(true);
  lblVerdict->setFont(verdictFont);

  memoDecoded = new QPlainTextEdit(this);
  memoDecoded->setReadOnly(true);
  memoDecoded->setFont(ResultFont());
  memoDecoded->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memoDecoded->setTabChangesFocus(true);

  btnUseInCalculator = new QPushButton(tr("&Use in calculator"), this);
  btnUseInCalculator->setToolTip(
      tr("Close this window and set the calculator's addresses, command and values to the "
         "string's"));
  btnClose = new QPushButton(tr("Close"), this);
  for (QPushButton* button : {btnUseInCalculator, btnClose}) {
    button->setFixedSize(kButtonSize);
    button->setAutoDefault(false);  // Enter in the text field starts a new line, nothing else.
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnUseInCalculator);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(lblInput);
  layout->addWidget(memoInput);
  layout->addWidget(lblVerdict);
  layout->addWidget(memoDecoded, 1);
  layout->addLayout(buttons);

  setTabOrder(memoInput, memoDecoded);
  setTabOrder(memoDecoded, btnUseInCalculator);
  setTabOrder(btnUseInCalculator, btnClose);

  connect(memoInput, &QPlainTextEdit::textChanged, this, &TfrmDecode::memoInputChange);
  connect(btnUseInCalculator, &QPushButton::clicked, this, &TfrmDecode::btnUseInCalculatorClick);
  connect(btnClose, &QPushButton::clicked, this, &TfrmDecode::btnCloseClick);

  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setMinimumSize(kMinimumClientSize);
  resize(kInitialClientSize);
  setWindowTitle(tr("Check a Loxone string"));
  memoInputChange();
}

void TfrmDecode::memoInputChange() {
  const QString text = memoInput->toPlainText();
  decoded_ = DecodeFrame(commands_, text.toStdString());

  QString verdict;
  QColor color = palette().color(QPalette::WindowText);
  if (text.trimmed().isEmpty()) {
    verdict = tr("Paste a string to check it.");
    memoDecoded->clear();
  } else {
    QStringList lines;
    for (const std::string& line : DecodeLines(decoded_)) lines.append(ToQString(line));
    memoDecoded->setPlainText(lines.join(u'\n'));
    const qsizetype problems = static_cast<qsizetype>(decoded_.Problems.size());
    const qsizetype warnings = static_cast<qsizetype>(decoded_.Warnings.size());
    if (!decoded_.Readable()) {
      verdict = tr("Unreadable: %1").arg(ToQString(DescribeReadError(*decoded_.Error)));
      color = kProblemColor;
    } else if (problems > 0) {
      verdict =
          problems == 1 ? tr("Not valid: 1 problem") : tr("Not valid: %1 problems").arg(problems);
      color = kProblemColor;
    } else {
      verdict = warnings == 0   ? tr("Valid")
                : warnings == 1 ? tr("Valid, with 1 warning")
                                : tr("Valid, with %1 warnings").arg(warnings);
      color = kValidColor;
    }
  }
  lblVerdict->setText(verdict);
  QPalette verdictPalette = lblVerdict->palette();
  verdictPalette.setColor(QPalette::WindowText, color);
  lblVerdict->setPalette(verdictPalette);
  btnUseInCalculator->setEnabled(decoded_.Readable() && decoded_.Command != nullptr);
}

void TfrmDecode::btnUseInCalculatorClick() {
  if (btnUseInCalculator->isEnabled()) done(kModalOk);
}

void TfrmDecode::btnCloseClick() { done(kModalCancel); }

void TfrmDecode::reject() { done(kModalCancel); }

void TfrmDecode::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A new paste replaces the string checked last time.
  memoInput->setFocus();
  memoInput->selectAll();
}
