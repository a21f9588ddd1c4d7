#include "TfrmMain.h"

#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStringList>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <vector>

#include "AppInfo.h"
#include "BuiltInCommands.h"
#include "Fonts.h"
#include "FrameCalc.h"
#include "HeaderIcons.h"
#include "OptionList.h"
#include "QtText.h"
#include "TSpinEdit.h"
#include "TfrmCommandCatalog.h"
#include "TfrmDecode.h"
#include "TfrmTable.h"

namespace {

// The window's client area; every control has a fixed place in it.
constexpr QSize kClientSize(915, 479);
constexpr int kHeaderHeight = 68;

// Parameter rows: one every 28 pixels from the top of the panel, name, editor and range label
// at fixed columns.
constexpr int kRowTop = 7;
constexpr int kRowHeight = 28;
constexpr int kNameLeft = 5;
constexpr int kEditorLeft = 140;
constexpr int kRangeLeft = 270;
constexpr int kListWidth = 250;

// Six letter-or-digit positions in three pairs with fixed blanks, upper-cased as typed.
constexpr char kAddressMask[] = ">NN NN NN";

// The small buttons of the header band: square, vertically centred above the bevel, the
// rightmost one as far from the right edge as the controls are from the left.
constexpr int kHeaderButtonSize = 28;
constexpr int kHeaderButtonTop = (kHeaderHeight - 2 - kHeaderButtonSize) / 2;
constexpr int kHeaderButtonRight = 14;
constexpr int kHeaderButtonGap = 6;
// The face of a header button under the mouse or pressed: a dark grey that the glyph shows on.
constexpr QColor kHeaderButtonFace(72, 72, 72);

constexpr QColor kCopyButtonColor(128, 255, 128);
constexpr QColor kVersionColor(192, 192, 192);

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent) {
  setFont(FormFont());

  Panel1 = new QFrame(this);
  Panel1->setGeometry(0, 0, kClientSize.width(), kHeaderHeight);
  Panel1->setAutoFillBackground(true);
  QPalette headerPalette = Panel1->palette();
  headerPalette.setColor(QPalette::Window, Qt::black);
  Panel1->setPalette(headerPalette);
  auto* bevel = new QFrame(Panel1);
  bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  bevel->setGeometry(0, kHeaderHeight - 2, kClientSize.width(), 2);
  Image1 = new QLabel(Panel1);
  Image1->setPixmap(QPixmap(QStringLiteral(":/brelvik/header.png")));
  Image1->move(0, 4);
  Image1->adjustSize();
  btnDecode = MakeHeaderButton(CheckStringIcon(), tr("Check a Loxone string (Ctrl+D)"),
                               QKeySequence(Qt::CTRL | Qt::Key_D), 0);
  btnTable = MakeHeaderButton(TableIcon(), tr("Strings for all channels (Ctrl+T)"),
                              QKeySequence(Qt::CTRL | Qt::Key_T), 1);

  cxLabel5 = MakeLabel(this, tr("Host"), 14, 91);
  editHost = new QLineEdit(this);
  editHost->setGeometry(104, 90, 121, editHost->sizeHint().height());
  editHost->setInputMask(kAddressMask);
  editHost->setText(ToQString(kDefaultHost));

  cxLabel4 = MakeLabel(this, tr("Slave"), 14, 118);
  editSlave = new QLineEdit(this);
  editSlave->setGeometry(104, 117, 121, editSlave->sizeHint().height());
  editSlave->setInputMask(kAddressMask);
  editSlave->setText(ToQString(kDefaultSlave));

  cxLabel3 = MakeLabel(this, tr("Command"), 14, 148);
  cbCommand = new TComboBox(this);
  cbCommand->setGeometry(104, 147, 217, cbCommand->sizeHint().height());
  cbCommand->setMaxVisibleItems(30);

  cxButton1 = new QPushButton(tr("..."), this);
  cxButton1->setGeometry(327, 148, 42, 20);

  cxLabel1 = MakeLabel(this, tr("Description"), 14, 177);
  lblDescription = new QLabel(ToQString(kNoCommandDescription), this);
  lblDescription->setGeometry(104, 177, 265, 123);
  lblDescription->setFrameStyle(QFrame::Box | QFrame::Plain);
  lblDescription->setTextFormat(Qt::PlainText);
  lblDescription->setWordWrap(true);
  lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  cxLabel2 = MakeLabel(this, tr("Parameters"), 407, 177);
  sbProperties = new QScrollArea(this);
  sbProperties->setGeometry(472, 177, 425, 123);
  sbProperties->setFocusPolicy(Qt::NoFocus);

  memoResult = new QPlainTextEdit(this);
  memoResult->setGeometry(14, 306, 883, 135);
  memoResult->setReadOnly(true);
  memoResult->setLineWrapMode(QPlainTextEdit::NoWrap);
  memoResult->setFont(ResultFont());
  memoResult->document()->setDocumentMargin(2);
  memoResult->setTabChangesFocus(true);

  cxButton2 = new TColorButton(tr("Copy Loxone string"), this);
  cxButton2->setGeometry(16, 447, 113, 25);
  QPalette copyPalette = cxButton2->palette();
  copyPalette.setColor(QPalette::Button, kCopyButtonColor);
  cxButton2->setPalette(copyPalette);

  lblStatus = MakeLabel(this, QString(), 135, 450);

  cxLabel6 = new QLabel(tr(kVersionText), this);
  QPalette versionPalette = cxLabel6->palette();
  versionPalette.setColor(QPalette::WindowText, kVersionColor);
  cxLabel6->setPalette(versionPalette);
  cxLabel6->setAlignment(Qt::AlignRight);
  cxLabel6->adjustSize();
  cxLabel6->move(kClientSize.width() - cxLabel6->width(), 464);

  UpdateTabOrder();
  // The first control of the tab order has the focus when the window opens.
  cbCommand->setFocus();

  // Connected only now, so that the initial texts above run no calculation.
  connect(editHost, &QLineEdit::textChanged, this, &TfrmMain::UpdateCalc);
  connect(editSlave, &QLineEdit::textChanged, this, &TfrmMain::UpdateCalc);
  connect(cbCommand, &QComboBox::currentIndexChanged, this, &TfrmMain::cbCommandPropertiesChange);
  connect(cxButton1, &QPushButton::clicked, this, &TfrmMain::cxButton1Click);
  connect(cxButton2, &QPushButton::clicked, this, &TfrmMain::cxButton2Click);
  connect(btnDecode, &QToolButton::clicked, this, &TfrmMain::btnDecodeClick);
  connect(btnTable, &QToolButton::clicked, this, &TfrmMain::btnTableClick);

  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientSize);
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, kClientSize,
                                  screen()->availableGeometry()));
  setWindowTitle(tr(kMainWindowCaption));
}

TfrmMain::~TfrmMain() = default;

QLabel* TfrmMain::MakeLabel(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->move(left, top);
  label->adjustSize();
  label->show();
  return label;
}

QToolButton* TfrmMain::MakeHeaderButton(const QIcon& icon, const QString& toolTip,
                                        const QKeySequence& shortcut, int slot) {
  auto* button = new QToolButton(Panel1);
  button->setIcon(icon);
  button->setIconSize(QSize(20, 20));
  button->setToolTip(toolTip);
  button->setShortcut(shortcut);
  button->setAutoRaise(true);
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, kHeaderButtonFace);
  palette.setColor(QPalette::Window, kHeaderButtonFace);
  button->setPalette(palette);
  // Reached by its shortcut; the tab order stays that of the form.
  button->setFocusPolicy(Qt::NoFocus);
  const int left = kClientSize.width() - kHeaderButtonRight - kHeaderButtonSize -
                   slot * (kHeaderButtonSize + kHeaderButtonGap);
  button->setGeometry(left, kHeaderButtonTop, kHeaderButtonSize, kHeaderButtonSize);
  return button;
}

const TCommand* TfrmMain::ChosenCommand() const {
  if (cbCommand->currentIndex() < 0) return nullptr;
  return reinterpret_cast<const TCommand*>(cbCommand->currentData().value<quintptr>());
}

void TfrmMain::UpdateCalc() {
  std::vector<TParamValue> values;
  values.reserve(static_cast<std::size_t>(ParamEditors.size()));
  for (QWidget* editor : ParamEditors) {
    if (const auto* spin = qobject_cast<const TSpinEdit*>(editor)) {
      values.emplace_back(spin->Value());
    } else if (const auto* list = qobject_cast<const QComboBox*>(editor)) {
      values.push_back(list->currentIndex() < 0 ? TParamValue() : list->currentData().toInt());
    }
  }

  // Emptied mask positions read as blanks: displayText() keeps them, text() would drop them.
  const TCalcResult result = CalcFrame(ChosenCommand(), editHost->displayText().toStdString(),
                                       editSlave->displayText().toStdString(), values);

  QStringList lines;
  for (const std::string& line : result.Lines) lines.append(ToQString(line));
  memoResult->setPlainText(lines.join(u'\n'));
  lblDescription->setText(ToQString(result.Description));
  if (result.Status) {
    lblStatus->setText(ToQString(*result.Status));
    lblStatus->adjustSize();
  }
  if (result.Outcome == TCalcOutcome::Success) LoxoneString = ToQString(result.Frame.Loxone);
}

void TfrmMain::cbCommandPropertiesChange() {
  memoResult->clear();
  // The old panel goes as a whole; it is deleted once control is back in the event loop, so no
  // editor is deleted while one of its own signals might still be on the stack.
  if (QWidget* previous = sbProperties->takeWidget()) previous->deleteLater();
  ParamEditors.clear();

  const TCommand* command = ChosenCommand();
  if (command == nullptr) {
    lblDescription->setText(ToQString(kNoCommandDescription));
    memoResult->setPlainText(ToQString(kSelectCommand));
    UpdateTabOrder();
    return;
  }

  auto* panel = new QWidget;
  sbProperties->setWidget(panel);
  try {
    lblDescription->setText(ToQString(command->Description));
    if (command->PropertyCount() == 0) {
      MakeLabel(panel, tr("(no parameters needed)"), kNameLeft, kRowTop);
    }
    int top = kRowTop;
    for (std::int32_t i = 0; i < command->PropertyCount(); ++i) {
      if (QWidget* editor = MakeParamRow(panel, command->GetProperty(i), top)) {
        ParamEditors.append(editor);
      }
      top += kRowHeight;
    }
  } catch (...) {
    // A failure while building leaves the rows made so far; the calculation runs on them.
  }
  const QPoint farCorner = panel->childrenRect().bottomRight();
  panel->resize(farCorner.x() + kRowTop, farCorner.y() + kRowTop);
  UpdateTabOrder();
  UpdateCalc();
}

QWidget* TfrmMain::MakeParamRow(QWidget* panel, const TProperty& property, int top) {
  MakeLabel(panel, ToQString(property.Name), kNameLeft, top);

  if (property.Type == kTypeInteger) {
    auto* spin = new TSpinEdit(panel);
    spin->move(kEditorLeft, top);
    spin->resize(spin->sizeHint());
    spin->SetMinValue(property.Min);
    spin->SetMaxValue(property.Max);
    spin->SetValue(property.Default);
    connect(spin, &TSpinEdit::ValueChanged, this, &TfrmMain::UpdateCalc);
    spin->show();
    MakeLabel(panel, QStringLiteral("(%1 to %2)").arg(property.Min).arg(property.Max), kRangeLeft,
              top);
    return spin;
  }

  if (property.Type == kTypeList) {
    auto* list = new TComboBox(panel);
    list->setGeometry(kEditorLeft, top, kListWidth, list->sizeHint().height());
    for (const TOptionItem& item : ReadOptionItems(property.Options)) {
      list->addItem(ToQString(item.ValueText) + QStringLiteral(" = ") + ToQString(item.Label),
                    item.Value);
    }
    // An index outside the items leaves none chosen.
    list->setCurrentIndex(property.Default);
    connect(list, &QComboBox::currentIndexChanged, this, &TfrmMain::UpdateCalc);
    list->show();
    return list;
  }

  QMessageBox box(QMessageBox::NoIcon, tr(kApplicationTitle),
                  tr("Unknown type: ") + ToQString(property.Type), QMessageBox::Ok, this);
  box.exec();
  return nullptr;
}

void TfrmMain::UpdateTabOrder() {
  QList<QWidget*> chain = {cbCommand};
  chain.append(ParamEditors);
  chain.append({cxButton1, cxButton2, memoResult, editHost, editSlave});
  for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TfrmMain::cxButton1Click() {
  if (frmCommandCatalog_ == nullptr) return;
  frmCommandCatalog_->Commands = &Commands;
  if (frmCommandCatalog_->exec() != kModalOk) return;

  const auto picked = reinterpret_cast<quintptr>(frmCommandCatalog_->FocusedCommand());
  int index = -1;
  for (int i = 0; i < cbCommand->count(); ++i) {
    if (cbCommand->itemData(i).value<quintptr>() == picked) {
      index = i;
      break;
    }
  }
  // Rebuilds the panel only when the choice changes; the same command keeps the user's values.
  cbCommand->setCurrentIndex(index);
  UpdateCalc();
}

void TfrmMain::FormShow() {
  AddBuiltInCommands(Commands);
  {
    // Adding the first item would choose it; at start no command is chosen.
    const QSignalBlocker blocker(cbCommand);
    for (std::int32_t i = 0; i < Commands.Count(); ++i) {
      const TCommand& command = Commands.Items(i);
      cbCommand->addItem(ToQString(command.MessageName), reinterpret_cast<quintptr>(&command));
    }
    cbCommand->setCurrentIndex(-1);
  }
  UpdateCalc();
}

void TfrmMain::cxButton2Click() {
  QGuiApplication::clipboard()->setText(LoxoneString);
  lblStatus->setText(tr("Loxone encoded string copied to clipboard."));
  lblStatus->adjustSize();
}

void TfrmMain::btnDecodeClick() {
  if (frmDecode_ == nullptr) frmDecode_ = new TfrmDecode(Commands, this);
  if (frmDecode_->exec() != kModalOk) return;
  UseDecoded(frmDecode_->Decoded());
}

void TfrmMain::UseDecoded(const TDecodeResult& decoded) {
  if (decoded.Command == nullptr) return;
  {
    // The fields hold three bytes, which is what a frame has for each address; a string too short
    // to hold an address leaves its field as it is.
    const QSignalBlocker hostBlocker(editHost);
    const QSignalBlocker slaveBlocker(editSlave);
    if (decoded.Host) editHost->setText(ToQString(*decoded.Host));
    if (decoded.Slave) editSlave->setText(ToQString(*decoded.Slave));
  }
  // Rebuilds the panel only when the command changes, as the browser does.
  cbCommand->setCurrentIndex(
      cbCommand->findData(QVariant::fromValue(reinterpret_cast<quintptr>(decoded.Command))));
  // An editor without a byte in the string keeps its value; bytes beyond the editors are dropped.
  for (qsizetype i = 0; i < ParamEditors.size() && i < qsizetype(decoded.Values.size()); ++i) {
    const int value = decoded.Values[static_cast<std::size_t>(i)].value_or(0);
    if (auto* spin = qobject_cast<TSpinEdit*>(ParamEditors[i])) {
      spin->SetValue(value);
    } else if (auto* list = qobject_cast<QComboBox*>(ParamEditors[i])) {
      const QSignalBlocker blocker(list);
      int item = list->findData(value);
      if (item < 0) {
        // A value of none of the options still stands for its byte, so that the calculator
        // gives the same frame as the string.
        list->addItem(tr("%1 = (none of its options)").arg(value), value);
        item = list->count() - 1;
      }
      list->setCurrentIndex(item);
    }
  }
  UpdateCalc();
}

void TfrmMain::btnTableClick() {
  // Made at the first opening and reused: every opening shows the inputs of that moment.
  if (frmTable_ == nullptr) frmTable_ = new TfrmTable(this);
  const bool open = frmTable_->isVisible();
  frmTable_->ShowTable(Commands, ChosenCommand(), editHost->displayText(),
                       editSlave->displayText());
  frmTable_->show();
  // A window shown anew comes up on top; one already open is brought there.
  if (open) frmTable_->raise();
  frmTable_->activateWindow();
}

void TfrmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}
