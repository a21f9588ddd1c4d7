#pragma once

#include <QDialog>

#include "FrameDecode.h"
#include "ModalResult.h"
#include "TListCommands.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Check a Loxone string": a text field to paste a string into, decoded again at every change,
// and what the decode finds. Opened modally by the main window, which reads Decoded() when the
// window closes with kModalOk ("Use in calculator") and sets its fields from it.
class TfrmDecode : public QDialog {
  Q_OBJECT

 public:
  // Decodes against "commands", which must outlive the window.
  explicit TfrmDecode(const TListCommands& commands, QWidget* parent = nullptr);

  // The decode of the text in memoInput.
  const TDecodeResult& Decoded() const { return decoded_; }

  // Decodes the text of memoInput and shows the result.
  void memoInputChange();
  void btnUseInCalculatorClick();
  void btnCloseClick();

  QLabel* lblInput;
  QPlainTextEdit* memoInput;
  QLabel* lblVerdict;
  QPlainTextEdit* memoDecoded;
  QPushButton* btnUseInCalculator;
  QPushButton* btnClose;

 public slots:
  // Closing by the close box or Escape counts as Close.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const TListCommands& commands_;
  TDecodeResult decoded_;
};
