#include "TfrmCommandCatalog.h"

#include <QCollator>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "Fonts.h"
#include "QtText.h"

namespace {

enum Column { kMessageColumn = 0, kDescriptionColumn = 1 };

constexpr QSize kInitialClientSize(691, 275);
// 400 by 300 with the window frame, the smallest window in which the tree stays usable.
constexpr QSize kMinimumClientSize(400 - 16, 300 - 39);
constexpr int kMessageColumnWidth = 200;
constexpr int kButtonBarHeight = 41;
constexpr QSize kButtonSize(75, 27);
constexpr int kButtonMargin = 6;
constexpr int kMinimumRowHeight = 18;

constexpr int kNodeDataRole = Qt::UserRole + 1;

// The tree view of the catalogue. It has its look: dotted tree lines, a grid line under every row
// and vertical grid lines between the columns down to the bottom of the view. And it keeps the
// focused row one that the user sees selected: a row whose category closes hands the focus to
// the category row, and a row that loses its selection loses the focus too. A double-click
// anywhere in a row with children closes or opens it.
class TCatalogTree : public QTreeView {
 public:
  explicit TCatalogTree(QWidget* parent) : QTreeView(parent) {
    setExpandsOnDoubleClick(false);  // Qt does it only in the first column; ToggleRow does it.
    connect(this, &QTreeView::doubleClicked, this, &TCatalogTree::ToggleRow);
    connect(this, &QTreeView::collapsed, this, &TCatalogTree::RowCollapsed);
  }

  void setModel(QAbstractItemModel* model) override {
    QTreeView::setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TCatalogTree::SelectionChanged);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QTreeView::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(GridColor());
    const QHeaderView* columns = header();
    for (int visual = 0; visual < columns->count(); ++visual) {
      const int logical = columns->logicalIndex(visual);
      const int right =
          columns->sectionViewportPosition(logical) + columns->sectionSize(logical) - 1;
      painter.drawLine(right, 0, right, viewport()->height());
    }
  }

  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
    QTreeView::drawRow(painter, option, index);
    painter->save();
    painter->setPen(GridColor());
    painter->drawLine(option.rect.left(), option.rect.bottom(), option.rect.right(),
                      option.rect.bottom());
    painter->restore();
  }

  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override {
    QTreeView::drawBranches(painter, rect, index);
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    const int indent = indentation();
    const int middle = rect.center().y();
    // One level of lines per ancestor: through to the next sibling, or down to this row.
    int depth = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++depth;
    const int left = rect.right() + 1 - indent;
    const int x = left + indent / 2;
    const bool hasNext = index.sibling(index.row() + 1, 0).isValid();
    const bool expandable = model()->hasChildren(index);
    const int gap = expandable ? indent / 4 + 1 : 0;  // Leaves room for the expand button.
    painter->drawLine(x, rect.top(), x, hasNext ? rect.bottom() : middle - gap);
    if (hasNext && gap > 0) painter->drawLine(x, middle + gap, x, rect.bottom());
    painter->drawLine(x + gap, middle, rect.right(), middle);
    QModelIndex ancestor = index.parent();
    for (int level = depth - 1; level >= 0 && ancestor.isValid(); --level) {
      if (ancestor.sibling(ancestor.row() + 1, 0).isValid()) {
        const int ax = left - (depth - level) * indent + indent / 2;
        painter->drawLine(ax, rect.top(), ax, rect.bottom());
      }
      ancestor = ancestor.parent();
    }
    painter->restore();
  }

 private:
  QColor GridColor() const { return palette().color(QPalette::Midlight); }

  void ToggleRow(const QModelIndex& index) {
    const QModelIndex row = index.siblingAtColumn(0);
    if (model()->hasChildren(row)) setExpanded(row, !isExpanded(row));
  }

  void RowCollapsed(const QModelIndex& row) {
    for (QModelIndex up = currentIndex().parent(); up.isValid(); up = up.parent()) {
      if (up == row) {
        setCurrentIndex(row);  // Selects it too.
        return;
      }
    }
  }

  void SelectionChanged() {
    if (!selectionModel()->hasSelection() && currentIndex().isValid()) {
      selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
  }
};

}  // namespace

TfrmCommandCatalog::TfrmCommandCatalog(QWidget* parent) : QDialog(parent) {
  setFont(FormFont());

  model_ = new QStandardItemModel(0, 2, this);
  model_->setHorizontalHeaderLabels({tr("Message"), tr("Description")});

  vstCommands = new TCatalogTree(this);
  vstCommands->setModel(model_);
  vstCommands->setFrameShape(QFrame::NoFrame);
  vstCommands->setEditTriggers(QAbstractItemView::NoEditTriggers);
  vstCommands->setSelectionBehavior(QAbstractItemView::SelectRows);
  vstCommands->setSelectionMode(QAbstractItemView::SingleSelection);
  vstCommands->setSortingEnabled(false);
  vstCommands->setRootIsDecorated(true);
  vstCommands->setUniformRowHeights(true);
  vstCommands->setContextMenuPolicy(Qt::CustomContextMenu);
  QHeaderView* header = vstCommands->header();
  // Either column may be dragged to either place; the tree stays with the message column.
  header->setSectionsMovable(true);
  header->setFirstSectionMovable(true);
  vstCommands->setTreePosition(kMessageColumn);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(kMessageColumn, QHeaderView::Fixed);
  header->resizeSection(kMessageColumn, kMessageColumnWidth);
  header->setSectionResizeMode(kDescriptionColumn, QHeaderView::Stretch);

  popupDetails = new QMenu(this);
  Properties1 = popupDetails->addAction(tr("Properties ..."));

  Panel1 = new QFrame(this);
  Panel1->setFixedHeight(kButtonBarHeight);
  auto* bevel = new QFrame(Panel1);
  bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  cxButton1 = new QPushButton(tr("Cancel"), Panel1);
  cxButton2 = new QPushButton(tr("OK"), Panel1);
  for (QPushButton* button : {cxButton1, cxButton2}) {
    button->setFixedSize(kButtonSize);
    button->setAutoDefault(false);  // Enter closes nothing.
  }
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(kButtonMargin, kButtonMargin, kButtonMargin, kButtonMargin);
  buttons->setSpacing(kButtonMargin);
  buttons->addStretch();
  buttons->addWidget(cxButton1);
  buttons->addWidget(cxButton2);
  auto* bar = new QVBoxLayout(Panel1);
  bar->setContentsMargins(0, 0, 0, 0);
  bar->setSpacing(0);
  bar->addWidget(bevel);
  bar->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(vstCommands);
  layout->addWidget(Panel1);

  setTabOrder(vstCommands, cxButton1);
  setTabOrder(cxButton1, cxButton2);

  connect(vstCommands, &QTreeView::doubleClicked, this,
          &TfrmCommandCatalog::vstCommandsNodeDblClick);
  connect(vstCommands, &QWidget::customContextMenuRequested, this,
          &TfrmCommandCatalog::ShowContextMenu);
  connect(Properties1, &QAction::triggered, this, &TfrmCommandCatalog::Properties1Click);
  connect(cxButton1, &QPushButton::clicked, this, &TfrmCommandCatalog::cxButton1Click);
  connect(cxButton2, &QPushButton::clicked, this, &TfrmCommandCatalog::btnOkClick);

  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setMinimumSize(kMinimumClientSize);
  resize(kInitialClientSize);
  setWindowTitle(tr("Commands"));
}

TCatalogNodeData TfrmCommandCatalog::NodeData(const QModelIndex& index) {
  if (!index.isValid()) return {};
  return index.siblingAtColumn(kMessageColumn).data(kNodeDataRole).value<TCatalogNodeData>();
}

const TCommand* TfrmCommandCatalog::FocusedCommand() const {
  return NodeData(vstCommands->currentIndex()).Command;
}

QString TfrmCommandCatalog::vstCommandsGetText(const TCatalogNodeData& node, int column) {
  if (node.Command == nullptr) return column == kMessageColumn ? node.Caption : QString();
  if (column == kMessageColumn) return ToQString(node.Command->MessageName);
  // One line per cell: every line feed becomes one blank; nothing else changes.
  return ToQString(node.Command->Description).replace(u'\n', u' ');
}

QString TfrmCommandCatalog::vstCommandsGetHint(const TCatalogNodeData& node, int column) {
  if (node.Command == nullptr || column != kDescriptionColumn) return {};
  return ToQString(node.Command->Description);
}

QMenu* TfrmCommandCatalog::vstCommandsGetPopupMenu(const QModelIndex& index) const {
  return NodeData(index).Command != nullptr ? popupDetails : nullptr;
}

void TfrmCommandCatalog::FormShow() {
  vstCommands->setUpdatesEnabled(false);
  model_->removeRows(0, model_->rowCount());

  // The distinct categories, sorted by the user's collation without regard to letter case; a
  // category keeps the spelling of its first command.
  QStringList categories;
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  const std::int32_t count = Commands != nullptr ? Commands->Count() : 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const QString category = ToQString(Commands->Items(i).Category);
    const bool known = std::any_of(categories.cbegin(), categories.cend(), [&](const QString& c) {
      return collator.compare(c, category) == 0;
    });
    if (!known) categories.append(category);
  }
  std::stable_sort(categories.begin(), categories.end(), collator);

  // Rows as high as the tree's own of 18 pixels, or higher for a larger font.
  const int rowHeight = std::max(kMinimumRowHeight, vstCommands->fontMetrics().height() + 5);
  const auto makeRow = [rowHeight](const TCatalogNodeData& node) {
    QList<QStandardItem*> row;
    for (int column : {kMessageColumn, kDescriptionColumn}) {
      auto* item = new QStandardItem(vstCommandsGetText(node, column));
      item->setEditable(false);
      if (const QString hint = vstCommandsGetHint(node, column); !hint.isEmpty()) {
        item->setToolTip(hint);
      }
      row.append(item);
    }
    row.front()->setData(QVariant::fromValue(node), kNodeDataRole);
    row.front()->setSizeHint(QSize(-1, rowHeight));
    return row;
  };
  for (const QString& category : categories) {
    const QList<QStandardItem*> categoryRow = makeRow({nullptr, category});
    for (std::int32_t i = 0; i < count; ++i) {
      const TCommand& command = Commands->Items(i);
      // Letter case aside, so that no command goes missing under a differently spelled category.
      if (collator.compare(ToQString(command.Category), category) == 0) {
        categoryRow.front()->appendRow(makeRow({&command, QString()}));
      }
    }
    model_->appendRow(categoryRow);
  }

  vstCommands->setCurrentIndex(QModelIndex());
  vstCommands->selectionModel()->clearSelection();
  vstCommands->scrollToTop();
  vstCommands->horizontalScrollBar()->setValue(0);
  vstCommands->setUpdatesEnabled(true);
  vstCommands->expandAll();
}

void TfrmCommandCatalog::vstCommandsNodeDblClick(const QModelIndex& index) {
  // A category row opens or closes by the tree's own double-click handling. A command row is
  // taken only when it is the focused row, which it is unless the click took its selection off.
  const TCommand* command = NodeData(index).Command;
  if (command != nullptr && command == FocusedCommand()) done(kModalOk);
}

void TfrmCommandCatalog::Properties1Click() {
  const TCommand* command = FocusedCommand();
  if (command == nullptr) return;
  QMessageBox box(QMessageBox::Information, tr("Properties"),
                  tr("Message Name (MSG): ") + ToQString(command->MessageName) + u'\n' +
                      tr("LEN: ") + ToQString(command->Len),
                  QMessageBox::Ok, this);
  box.exec();
}

void TfrmCommandCatalog::cxButton1Click() { done(kModalCancel); }

void TfrmCommandCatalog::btnOkClick() {
  const QModelIndex focused = vstCommands->currentIndex();
  if (!focused.isValid()) {
    ShowError(tr("No entry selected."));
  } else if (NodeData(focused).Command == nullptr) {
    ShowError(tr("No command selected."));
  } else {
    done(kModalOk);
  }
}

void TfrmCommandCatalog::reject() { done(kModalCancel); }

void TfrmCommandCatalog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!placed_) {
    placed_ = true;
    if (const QScreen* display = screen()) {
      move(display->availableGeometry().center() - rect().center());
    }
  }
  FormShow();
  vstCommands->setFocus();
}

void TfrmCommandCatalog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();  // Neither key closes the window.
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void TfrmCommandCatalog::ShowContextMenu(const QPoint& position) {
  if (QMenu* menu = vstCommandsGetPopupMenu(vstCommands->indexAt(position))) {
    menu->exec(vstCommands->viewport()->mapToGlobal(position));
  }
}

void TfrmCommandCatalog::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, tr("Error"), text, QMessageBox::Ok, this);
  box.exec();
}
