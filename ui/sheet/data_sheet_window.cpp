#include "ui/sheet/data_sheet_window.h"
#include "ui/common/keyed_toolbar_widget.h"

#include "ui/common/allowed_keys_filter.h"
#include "core/font_substitutes.h"
#include "core/busy_scope.h"
#include "core/program_end.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/master_lists.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "sheet/points_table_model.h"
#include "sheet/records_table_model.h"
#include "ui/common/sheet_grid_widget.h"
#include "sheet/survey_document.h"
#include "sheet/survey_editor.h"
#include "xlsx/survey_workbook.h"
#include "xlsx/workbook_file_name.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace vortan::sheet {

namespace {

// A selection box of the window as the master lists fill it.
class ComboBoxTarget : public db::ComboTarget {
public:
    explicit ComboBoxTarget(QComboBox& box) : box_(box) {}
    void clear() override { box_.clear(); }
    void addItem(const QString& text) override { box_.addItem(text); }

private:
    QComboBox& box_;
};

class ListBoxTarget : public db::ComboTarget {
public:
    explicit ListBoxTarget(QListWidget& list) : list_(list) {}
    void clear() override { list_.clear(); }
    void addItem(const QString& text) override { list_.addItem(text); }

private:
    QListWidget& list_;
};

QLineEdit* lineEditOf(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line;
    if (auto* box = qobject_cast<QComboBox*>(widget))
        return box->lineEdit();
    return nullptr;
}

} // namespace

DataSheetWindow::DataSheetWindow(ProgramState& state, db::Workspace& workspace, db::MasterLists& lists, UserInterface& ui,
                                 SurveyDocument& document, QWidget* parent)
    : QWidget(parent), state_(state), workspace_(workspace), lists_(lists), ui_(ui), doc_(document),
      editor_(std::make_unique<SurveyEditor>(document))
{
    RegisterFontSubstitutes();
    setObjectName(QStringLiteral("F_DataSheet"));
    setWindowTitle(QStringLiteral("データシート"));
    setFont(ScreenFont(font()));
    editor_->setOutcomeHandler([this](Outcome outcome) { handle(outcome); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);

    // The toolbar: the data sheet enables and disables its buttons by
    // position, the fourth (save) and fifth (delete) marking unsaved changes.
    toolbar_ = CreateKeyedToolbar(this,
                                  {{QStringLiteral("tb_Exit"), QStringLiteral("閉じる")},
                                   {QStringLiteral("tb_New"), QStringLiteral("新規")},
                                   {QStringLiteral("tb_Load"), QStringLiteral("呼び出し")},
                                   {QStringLiteral("tb_Save"), QStringLiteral("保存")},
                                   {QStringLiteral("tb_Delete"), QStringLiteral("削除")},
                                   {QStringLiteral("tb_Excel"), QStringLiteral("Excel出力...")}},
                                  [this](const QString& key) { runToolbarCommand(key); });
    tbSave_ = toolbar_->actions().at(3);
    tbDelete_ = toolbar_->actions().at(4);
    // A button shows its action's icon text, which would drop the "...".
    toolbar_->actions().at(5)->setIconText(QStringLiteral("Excel出力..."));
    layout->addWidget(toolbar_);

    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("mnu_DataSheet"));
    QMenu* file = menus->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mnu_ファイル"));
    QAction* excel = file->addAction(QStringLiteral("Excel出力..."), this, [this] { exportWorkbook(); });
    excel->setObjectName(QStringLiteral("mnu_Excel出力"));
    layout->setMenuBar(menus);

    auto* header = new QGridLayout;
    header->setHorizontalSpacing(6);
    header->setVerticalSpacing(3);
    buildHeader(header);
    layout->addLayout(header);

    buildGrids();

    // Points above the data grid of the selected point, the lists at the right.
    auto* pointsPanel = new QWidget(this);
    auto* pointsLayout = new QVBoxLayout(pointsPanel);
    pointsLayout->setContentsMargins(0, 0, 0, 0);
    pointsLayout->setSpacing(2);
    pointsLayout->addWidget(pointCaption_);
    pointsLayout->addWidget(vaSpread1_);

    auto* recordsPanel = new QWidget(this);
    auto* recordsLayout = new QVBoxLayout(recordsPanel);
    recordsLayout->setContentsMargins(0, 0, 0, 0);
    recordsLayout->setSpacing(2);
    recordsLayout->addWidget(recordCaption_);
    recordsLayout->addWidget(vaSpread2_);

    auto* gridSplitter = new QSplitter(Qt::Vertical, this);
    gridSplitter->addWidget(pointsPanel);
    gridSplitter->addWidget(recordsPanel);
    gridSplitter->setStretchFactor(0, 1);
    gridSplitter->setStretchFactor(1, 3);
    gridSplitter->setChildrenCollapsible(false);

    auto* listsPanel = new QWidget(this);
    auto* listsLayout = new QVBoxLayout(listsPanel);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    listsLayout->setSpacing(2);
    const std::array<std::pair<const char16_t*, QListWidget*>, 3> lists3 = {{
        {u"測点記事", lst記事1_},
        {u"データ記事", lst記事2_},
        {u"推定土質", lst土質_},
    }};
    for (std::size_t i = 0; i < lists3.size(); ++i) {
        listCaptions_[i] = new QLabel(QString::fromUtf16(lists3[i].first), listsPanel);
        listsLayout->addWidget(listCaptions_[i]);
        listsLayout->addWidget(lists3[i].second, 1);
    }

    auto* mainSplitter = new QSplitter(Qt::Horizontal, this);
    mainSplitter->addWidget(gridSplitter);
    mainSplitter->addWidget(listsPanel);
    mainSplitter->setStretchFactor(0, 1);
    mainSplitter->setStretchFactor(1, 0);
    mainSplitter->setChildrenCollapsible(false);
    layout->addWidget(mainSplitter, 1);

    // Undo and redo: on the toolbar, on Ctrl+Z and Ctrl+Y, and (through the
    // main window) in its 編集 menu. The tool tip names the step.
    QUndoStack& stack = editor_->undoStack();
    undoAction_ = new QAction(QStringLiteral("元に戻す"), this);
    undoAction_->setObjectName(QStringLiteral("act_元に戻す"));
    undoAction_->setShortcut(QKeySequence::Undo);
    connect(undoAction_, &QAction::triggered, &stack, &QUndoStack::undo);
    redoAction_ = new QAction(QStringLiteral("やり直し"), this);
    redoAction_->setObjectName(QStringLiteral("act_やり直し"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redoAction_->setShortcuts(redoKeys);
    connect(redoAction_, &QAction::triggered, &stack, &QUndoStack::redo);
    auto follow = [this, &stack] {
        undoAction_->setEnabled(stack.canUndo());
        redoAction_->setEnabled(stack.canRedo());
        undoAction_->setToolTip(stack.canUndo() ? QStringLiteral("元に戻す（%1）").arg(stack.undoText())
                                                : QStringLiteral("元に戻す"));
        redoAction_->setToolTip(stack.canRedo() ? QStringLiteral("やり直し（%1）").arg(stack.redoText())
                                                : QStringLiteral("やり直し"));
    };
    connect(&stack, &QUndoStack::indexChanged, this, follow);
    connect(&stack, &QUndoStack::cleanChanged, this, follow);
    follow();
    toolbar_->addSeparator();
    for (QAction* action : {undoAction_, redoAction_}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        toolbar_->addAction(action);
    }
    editor_->setModifiedHandler([this](bool) { updateCommandStates(); });

    connectDocument();

    // Opening the window: an empty sheet, the lists filled, the caption set.
    clearSheet();
    refreshPointCaption();
    refreshLocationCaption();
    fitColumns();
    setTabOrder();
}

void DataSheetWindow::setTabOrder()
{
    // Left to right, top to bottom: the header rows, then the grids and the
    // lists beside them.
    const HeaderField order[] = {HeaderField::調査地区No, HeaderField::調査日,   HeaderField::開始時刻,
                                 HeaderField::終了時刻,   HeaderField::現場名,   HeaderField::天候,
                                 HeaderField::住所};
    const HeaderField after[] = {HeaderField::標高,     HeaderField::調査目的, HeaderField::調査責任者,
                                 HeaderField::調査者,   HeaderField::提出先,   HeaderField::調査地区記事};
    std::vector<QWidget*> chain;
    for (HeaderField field : order)
        chain.push_back(headerWidget(field));
    chain.push_back(cmd住所_);
    for (HeaderField field : after)
        chain.push_back(headerWidget(field));
    for (QWidget* widget : {static_cast<QWidget*>(vaSpread1_), static_cast<QWidget*>(vaSpread2_),
                            static_cast<QWidget*>(lst記事1_), static_cast<QWidget*>(lst記事2_),
                            static_cast<QWidget*>(lst土質_)})
        chain.push_back(widget);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

DataSheetWindow::~DataSheetWindow() = default;

QUndoStack& DataSheetWindow::undoStack()
{
    return editor_->undoStack();
}

QSize DataSheetWindow::sizeHint() const
{
    return QSize(1180, 820);
}

// --- header fields ----------------------------------------------------------------

void DataSheetWindow::buildHeader(QGridLayout* grid)
{
    headerWidgets_.assign(HeaderFieldCount, nullptr);
    for (int i = 0; i < HeaderFieldCount; ++i) {
        const auto field = static_cast<HeaderField>(i);
        QWidget* widget = nullptr;
        if (isHeaderList(field)) {
            auto* box = new QComboBox(this);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setMaxVisibleItems(20);
            box->lineEdit()->setMaxLength(headerFieldInfo(field).maxLength);
            connect(box, &QComboBox::editTextChanged, this, [this, field](const QString& text) {
                if (!showingDocument_)
                    userEditedHeader(field, text);
            });
            widget = box;
        } else {
            auto* line = new QLineEdit(this);
            line->setMaxLength(headerFieldInfo(field).maxLength);
            // Every change counts, the line edit's own undo included.
            connect(line, &QLineEdit::textChanged, this, [this, field](const QString& text) {
                if (!showingDocument_)
                    userEditedHeader(field, text);
            });
            widget = line;
        }
        widget->setObjectName(headerControlName(field));
        headerWidgets_[static_cast<std::size_t>(i)] = widget;
    }
    auto* number = qobject_cast<QLineEdit*>(headerWidget(HeaderField::調査地区No));
    AllowedKeysFilter::install(number, Digits, ui_);
    connect(number, &QLineEdit::returnPressed, this, [this] { runToolbarCommand(QStringLiteral("tb_Load")); });
    AllowedKeysFilter::install(headerWidget(HeaderField::標高), SignedDecimal, ui_);

    cmd住所_ = new QPushButton(QStringLiteral("住所選択..."), this);
    cmd住所_->setObjectName(QStringLiteral("cmd住所"));
    cmd住所_->setEnabled(false);
    connect(cmd住所_, &QPushButton::clicked, this, [this] {
        if (!addressPicker_)
            return;
        if (std::optional<QString> address = addressPicker_())
            userEditedHeader(HeaderField::住所, *address);
    });

    auto put = [&](HeaderField field, int row, int pair, int span = 1) {
        QWidget* widget = headerWidget(field);
        auto* label = new QLabel(QString::fromUtf16(headerFieldInfo(field).label), this);
        label->setBuddy(widget);
        if (field == HeaderField::住所) {
            label->setObjectName(QStringLiteral("Label住所"));
            addressCaption_ = label;
        }
        grid->addWidget(label, row, pair * 2, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(widget, row, pair * 2 + 1, 1, span * 2 - 1);
    };
    put(HeaderField::調査地区No, 0, 0);
    put(HeaderField::調査日, 0, 1);
    put(HeaderField::開始時刻, 0, 2);
    put(HeaderField::終了時刻, 0, 3);
    put(HeaderField::現場名, 1, 0, 3);
    put(HeaderField::天候, 1, 3);
    put(HeaderField::住所, 2, 0, 2);
    grid->addWidget(cmd住所_, 2, 4, Qt::AlignLeft);
    put(HeaderField::標高, 2, 3);
    put(HeaderField::調査目的, 3, 0);
    put(HeaderField::調査責任者, 3, 1);
    put(HeaderField::調査者, 3, 2);
    put(HeaderField::提出先, 4, 0);
    put(HeaderField::調査地区記事, 4, 1, 3);
    for (int pair = 0; pair < 4; ++pair)
        grid->setColumnStretch(pair * 2 + 1, 1);
}

QWidget* DataSheetWindow::headerWidget(HeaderField field) const
{
    return headerWidgets_[static_cast<std::size_t>(field)];
}

void DataSheetWindow::showHeader(HeaderField field)
{
    const QString& text = doc_.header(field);
    QWidget* widget = headerWidget(field);
    const bool was = showingDocument_;
    showingDocument_ = true;
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        if (box->currentText() != text)
            box->setEditText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        if (line->text() != text)
            line->setText(text);
    }
    showingDocument_ = was;
}

void DataSheetWindow::userEditedHeader(HeaderField field, const QString& text)
{
    if (field == HeaderField::調査地区No) {
        handle(doc_.setHeader(field, text, EditSource::User));
        updateCommandStates();
        return;
    }
    editor_->editHeader(field, text);
}

void DataSheetWindow::setAddressPicker(std::function<std::optional<QString>()> picker)
{
    addressPicker_ = std::move(picker);
    cmd住所_->setEnabled(static_cast<bool>(addressPicker_));
}

void DataSheetWindow::setAddressLabel(int index, const QString& text)
{
    label住所Index_ = index;
    label住所_ = text;
    refreshLocationCaption();
}

void DataSheetWindow::refreshLocationCaption()
{
    const QString& kind = state_.settings.住所名;
    QString caption = QStringLiteral("住所");
    if (kind == u"1") {
        caption = QStringLiteral("調査地");
    } else if (kind == u"2") {
        caption = QStringLiteral("建築住所");
    } else if (kind == u"3") {
        // The entry the options chose; before they gave one, the entry of
        // その他_ComboIndex in the address-label list (its entries from 1).
        QString label = label住所_;
        const int entry = state_.settings.その他_ComboIndex + 1;
        if (label.isEmpty() && entry >= 1 && entry < lists_.addressLabel.size())
            label = lists_.addressLabel.at(entry);
        if (!label.isEmpty())
            caption = label;
    }
    addressCaption_->setText(caption);
}

void DataSheetWindow::refreshPointCaption()
{
    pointCaption_->setText(state_.settings.測点表示 == QStringLiteral("1")
                               ? QStringLiteral("測点No.(印刷時にはデータNoと表示)")
                               : QStringLiteral("測点No."));
}

// --- grids ---------------------------------------------------------------------------

void DataSheetWindow::buildGrids()
{
    pointsModel_ = new PointsTableModel(doc_, *editor_, this);
    recordsModel_ = new RecordsTableModel(doc_, *editor_, this);

    pointCaption_ = new QLabel(this);
    pointCaption_->setObjectName(QStringLiteral("lbl_測点No"));
    recordCaption_ = new QLabel(this);
    recordCaption_->setObjectName(QStringLiteral("lbl_測点データ"));

    vaSpread1_ = new SheetGrid(this);
    vaSpread1_->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1_->setModel(pointsModel_);
    vaSpread1_->setHandlers({
        [this] {
            editor_->addPoint();
            return true;
        },
        [this](std::vector<int> rows) { editor_->deletePoints(std::move(rows)); },
        [this](int row, int column, const CellBlock& block) { editor_->pastePoints(row, column + 1, block); },
    });

    vaSpread2_ = new SheetGrid(this);
    vaSpread2_->setObjectName(QStringLiteral("vaSpread2"));
    vaSpread2_->setModel(recordsModel_);
    vaSpread2_->setColumnHidden(RecordColumn::日時キー - 1, true);
    vaSpread2_->setHandlers({
        [this] { return recordsModel_->point() >= 0 && editor_->addRecord(recordsModel_->point()) >= 0; },
        [this](std::vector<int> rows) {
            if (recordsModel_->point() >= 0)
                editor_->deleteRecords(recordsModel_->point(), std::move(rows));
        },
        [this](int row, int column, const CellBlock& block) {
            if (recordsModel_->point() >= 0)
                editor_->pasteRecords(recordsModel_->point(), row, column + 1, block);
        },
    });

    // Number columns take only what a number is written with.
    vaSpread1_->setAllowedCharacters(PointColumn::地盤高 - 1, SignedDecimal, ui_);
    vaSpread1_->setAllowedCharacters(PointColumn::地下水位 - 1, SignedDecimal, ui_);
    vaSpread2_->setAllowedCharacters(RecordColumn::貫入長 - 1, DigitsAndPoint, ui_);
    vaSpread2_->setAllowedCharacters(RecordColumn::打撃回数 - 1, Digits, ui_);
    vaSpread2_->setAllowedCharacters(RecordColumn::トルク - 1, DigitsAndPoint, ui_);

    // The remark columns take what room is left.
    vaSpread1_->horizontalHeader()->setSectionResizeMode(PointColumn::記事 - 1, QHeaderView::Stretch);
    vaSpread2_->horizontalHeader()->setSectionResizeMode(RecordColumn::記事 - 1, QHeaderView::Stretch);
    for (SheetGrid* grid : {vaSpread1_, vaSpread2_}) {
        grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid->horizontalHeader()->setHighlightSections(true);
        connect(grid, &SheetGrid::focusEntered, this, [this, grid] {
            activeGrid_ = grid;
            followActiveCell();
        });
        connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, grid] {
            if (grid->hasFocus() || activeGrid_ == grid)
                activeGrid_ = grid;
            followActiveCell();
        });
    }
    connect(vaSpread1_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showCurrentPointRecords(); });
    connect(recordsModel_, &RecordsTableModel::pointChanged, this, [this] { showRecordCaption(); });
    showRecordCaption();

    lst記事1_ = new QListWidget(this);
    lst記事1_->setObjectName(QStringLiteral("lst記事1"));
    lst記事2_ = new QListWidget(this);
    lst記事2_->setObjectName(QStringLiteral("lst記事2"));
    lst土質_ = new QListWidget(this);
    lst土質_->setObjectName(QStringLiteral("lst土質"));
    for (QListWidget* list : {lst記事1_, lst記事2_, lst土質_})
        list->setMinimumWidth(150);

    connect(lst記事1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int point = currentPoint();
        if (point >= 0)
            editor_->pickPointRemark(point, item->text());
    });
    connect(lst記事2_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = currentRecord();
        if (row >= 0)
            editor_->pickRecordRemark(recordsModel_->point(), row, item->text());
    });
    connect(lst土質_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = currentRecord();
        if (row >= 0)
            editor_->pickSoil(recordsModel_->point(), row, item->text());
    });
}

void DataSheetWindow::fitColumns()
{
    // Every column at least as wide as its heading; the columns that hold
    // words or dates as wide as their usual content.
    auto fit = [](SheetGrid* grid, int column, const QString& sample) {
        const QFontMetrics header(grid->horizontalHeader()->font());
        const QFontMetrics cells(grid->font());
        const QString heading = grid->model()->headerData(column, Qt::Horizontal).toString();
        const int width = std::max(header.horizontalAdvance(heading) + 24, cells.horizontalAdvance(sample) + 16);
        grid->setColumnWidth(column, width);
    };
    fit(vaSpread1_, PointColumn::測点No表記 - 1, QStringLiteral("0000"));
    fit(vaSpread1_, PointColumn::地盤高 - 1, QStringLiteral("-00.00"));
    fit(vaSpread1_, PointColumn::地下水位 - 1, QStringLiteral("-00.00"));
    fit(vaSpread1_, PointColumn::記事 - 1, QStringLiteral("測点の記事がここに入ります"));
    fit(vaSpread1_, PointColumn::印刷 - 1, QString());
    fit(vaSpread1_, PointColumn::開始日時 - 1, QStringLiteral("0000/00/00_00:00"));
    fit(vaSpread1_, PointColumn::終了日時 - 1, QStringLiteral("0000/00/00_00:00"));

    QString widestSoil = QStringLiteral("砂質土");
    for (const QString& soil : lists_.soil)
        if (soil.size() > widestSoil.size())
            widestSoil = soil;
    fit(vaSpread2_, RecordColumn::貫入長 - 1, QStringLiteral("00.00"));
    fit(vaSpread2_, RecordColumn::打撃回数 - 1, QStringLiteral("000"));
    fit(vaSpread2_, RecordColumn::トルク - 1, QStringLiteral("000.0"));
    fit(vaSpread2_, RecordColumn::推定土質 - 1, widestSoil);
    fit(vaSpread2_, RecordColumn::記事 - 1, QStringLiteral("データの記事がここに入ります"));
    fit(vaSpread2_, RecordColumn::補正値 - 1, QStringLiteral("00.0"));
    fit(vaSpread2_, RecordColumn::補正打撃回数 - 1, QStringLiteral("50以上"));
    fit(vaSpread2_, RecordColumn::換算支持力 - 1, QStringLiteral("0000.0"));

    const QFontMetrics rowHeader(vaSpread1_->verticalHeader()->font());
    vaSpread1_->verticalHeader()->setMinimumWidth(rowHeader.horizontalAdvance(QStringLiteral("測点No")) + 12);
    vaSpread2_->verticalHeader()->setMinimumWidth(rowHeader.horizontalAdvance(QStringLiteral("0000")) + 12);
    const int rowHeight = QFontMetrics(vaSpread1_->font()).height() + 8;
    vaSpread1_->verticalHeader()->setDefaultSectionSize(rowHeight);
    vaSpread2_->verticalHeader()->setDefaultSectionSize(rowHeight);
}

void DataSheetWindow::showRecordCaption()
{
    const int point = recordsModel_->point();
    recordCaption_->setText(point >= 0 ? QStringLiteral("測点データ（測点No %1）").arg(doc_.pointNumber(point))
                                       : QStringLiteral("測点データ"));
}

int DataSheetWindow::currentPoint() const
{
    const QModelIndex current = vaSpread1_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int DataSheetWindow::currentRecord() const
{
    if (recordsModel_->point() < 0)
        return -1;
    const QModelIndex current = vaSpread2_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataSheetWindow::showCurrentPointRecords()
{
    recordsModel_->setPoint(currentPoint());
    followActiveCell();
}

void DataSheetWindow::followActiveCell()
{
    // The list that goes with the active cell shows the cell's value and
    // has its caption in bold.
    QListWidget* list = nullptr;
    QString text;
    if (activeGrid_ == vaSpread1_) {
        const QModelIndex current = vaSpread1_->currentIndex();
        if (current.isValid() && current.column() + 1 == PointColumn::記事) {
            list = lst記事1_;
            text = current.data(Qt::EditRole).toString();
        }
    } else if (activeGrid_ == vaSpread2_) {
        const QModelIndex current = vaSpread2_->currentIndex();
        if (current.isValid() && current.column() + 1 == RecordColumn::推定土質)
            list = lst土質_;
        else if (current.isValid() && current.column() + 1 == RecordColumn::記事)
            list = lst記事2_;
        if (list)
            text = current.data(Qt::EditRole).toString();
    }
    const std::array<QListWidget*, 3> lists = {lst記事1_, lst記事2_, lst土質_};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        QFont font = listCaptions_[i]->font();
        font.setBold(lists[i] == list);
        listCaptions_[i]->setFont(font);
    }
    if (!list)
        return;
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty() || text.isEmpty()) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentItem(found.first());
        list->scrollToItem(found.first());
    }
}

// --- the document ------------------------------------------------------------------------

void DataSheetWindow::connectDocument()
{
    SurveyDocumentEvents& events = doc_.events();
    connect(&events, &SurveyDocumentEvents::headerChanged, this,
            [this](int field) { showHeader(static_cast<HeaderField>(field)); });
    // The models have followed the points first: the data grid shows the
    // grid of the point now current.
    auto follow = [this] { showCurrentPointRecords(); };
    connect(&events, &SurveyDocumentEvents::pointsReset, this, follow);
    connect(&events, &SurveyDocumentEvents::pointsRemoved, this, follow);
    connect(&events, &SurveyDocumentEvents::pointsInserted, this, follow);
    connect(&events, &SurveyDocumentEvents::pointChanged, this, [this](int point, int first, int) {
        if (first == 0 && point == recordsModel_->point())
            showRecordCaption();
    });
    for (int i = 0; i < HeaderFieldCount; ++i)
        showHeader(static_cast<HeaderField>(i));
}

bool DataSheetWindow::isModified() const
{
    return editor_->isModified();
}

void DataSheetWindow::updateCommandStates()
{
    // Save while there is something to save; delete while the sheet shows a
    // stored survey under the number it was stored with.
    tbSave_->setEnabled(editor_->isModified());
    const QString& number = doc_.header(HeaderField::調査地区No);
    tbDelete_->setEnabled(!storedNumber_.isEmpty() && numtext::isNumeric(number)
                          && numtext::leadingNumber(number) == numtext::leadingNumber(storedNumber_));
}

void DataSheetWindow::handle(Outcome outcome)
{
    EndProgramIfAsked(outcome == Outcome::EndProgram ? action::EndProgram : action::Nothing, endProgram_);
}

void DataSheetWindow::fillCandidateLists()
{
    showingDocument_ = true;
    for (int i = 0; i < HeaderFieldCount; ++i) {
        const auto field = static_cast<HeaderField>(i);
        if (auto* box = qobject_cast<QComboBox*>(headerWidget(field))) {
            ComboBoxTarget target(*box);
            db::FillCombo(target, lists_.*headerFieldInfo(field).list);
            box->setEditText(doc_.header(field));
        }
    }
    showingDocument_ = false;
}

void DataSheetWindow::fillSoilList()
{
    ListBoxTarget target(*lst土質_);
    db::FillCombo(target, lists_.soil);
}

void DataSheetWindow::fillPointRemarkList()
{
    ListBoxTarget target(*lst記事1_);
    db::FillCombo(target, lists_.pointRemark);
}

void DataSheetWindow::fillRecordRemarkList()
{
    ListBoxTarget target(*lst記事2_);
    db::FillCombo(target, lists_.recordRemark);
}

// --- commands ------------------------------------------------------------------------------

void DataSheetWindow::runToolbarCommand(const QString& key)
{
    if (key == QStringLiteral("tb_Exit")) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    } else if (key == QStringLiteral("tb_New")) {
        if (mayReplaceSurvey())
            newSurvey();
    } else if (key == QStringLiteral("tb_Load")) {
        const QString number = doc_.header(HeaderField::調査地区No);
        if (mayReplaceSurvey())
            loadSurvey(number);
    } else if (key == QStringLiteral("tb_Save")) {
        saveSurvey();
    } else if (key == QStringLiteral("tb_Delete")) {
        deleteSurvey();
    } else if (key == QStringLiteral("tb_Excel")) {
        exportWorkbook();
    }
}

void DataSheetWindow::clearSheet()
{
    const Outcome outcome = doc_.clear();
    editor_->clearHistory();
    storedNumber_.clear();
    fillCandidateLists();
    fillSoilList();
    fillPointRemarkList();
    fillRecordRemarkList();
    updateCommandStates();
    handle(outcome);
}

void DataSheetWindow::newSurvey()
{
    doc_.setHeader(HeaderField::調査地区No, QString());
    clearSheet();
    headerWidget(HeaderField::調査地区No)->setFocus();
}

bool DataSheetWindow::mayReplaceSurvey()
{
    if (!editor_->isModified())
        return true;
    const MessageAnswer answer = ui_.showMessage(QStringLiteral("変更を保存しますか?"), MessageIcon::Question,
                                                 MessageButtons::YesNoCancel, MessageAnswer::Cancel);
    if (answer == MessageAnswer::No)
        return true;
    if (answer != MessageAnswer::Yes)
        return false;
    // The survey goes back under its own number, whatever was typed into
    // the number field to open another one.
    const QString typed = doc_.header(HeaderField::調査地区No);
    if (!storedNumber_.isEmpty())
        doc_.setHeader(HeaderField::調査地区No, storedNumber_);
    const bool saved = saveSurvey();
    doc_.setHeader(HeaderField::調査地区No, typed);
    updateCommandStates();
    return saved;
}

void DataSheetWindow::closeEvent(QCloseEvent* event)
{
    if (!mayReplaceSurvey()) {
        event->ignore();
        return;
    }
    // What was not saved is given up: the window opens again on an empty sheet.
    if (editor_->isModified())
        newSurvey();
    QWidget::closeEvent(event);
}

Outcome DataSheetWindow::openSurvey(const QString& number)
{
    if (!mayReplaceSurvey())
        return Outcome::NotDone;
    return loadSurvey(number);
}

Outcome DataSheetWindow::loadSurvey(const QString& typed)
{
    // Clearing empties the number field too: the number typed is kept (a
    // copy, as the text passed may be the field's own).
    const QString number = typed;
    clearSheet();
    doc_.setHeader(HeaderField::調査地区No, number);
    const Outcome outcome = doc_.load();
    editor_->clearHistory();
    if (outcome == Outcome::Done) {
        storedNumber_ = doc_.header(HeaderField::調査地区No);
        if (doc_.pointCount() > 0)
            vaSpread1_->setCurrentIndex(pointsModel_->index(0, 0));
    }
    updateCommandStates();
    handle(outcome);
    return outcome;
}

int DataSheetWindow::dropEmptyRecordRows()
{
    // Moving past the last row adds rows on the way; those left without a
    // single value would be stored as records without a depth.
    int dropped = 0;
    for (int p = 0; p < doc_.pointCount(); ++p) {
        std::vector<int> empty;
        for (int r = 0; r < doc_.recordCount(p); ++r) {
            bool blank = true;
            for (int c = RecordColumn::貫入長; c <= RecordColumn::記事 && blank; ++c)
                blank = doc_.recordCell(p, r, c).trimmed().isEmpty();
            if (blank)
                empty.push_back(r);
        }
        if (empty.empty())
            continue;
        if (dropped == 0)
            editor_->undoStack().beginMacro(QStringLiteral("空の行の削除"));
        dropped += static_cast<int>(empty.size());
        editor_->deleteRecords(p, empty);
    }
    if (dropped > 0)
        editor_->undoStack().endMacro();
    return dropped;
}

bool DataSheetWindow::saveSurvey()
{
    const int dropped = dropEmptyRecordRows();
    const SaveResult result = doc_.save();
    if (result.outcome != Outcome::Done) {
        // Declined or failed, nothing was stored: the rows come back as they
        // were. (An invalid cell is shown in the rows as they are now.)
        if (result.invalid)
            focusInvalidInput(*result.invalid);
        else if (dropped > 0)
            editor_->undoStack().undo();
        handle(result.outcome);
        return false;
    }
    editor_->markSaved();
    storedNumber_ = doc_.header(HeaderField::調査地区No);
    updateCommandStates();
    QString done = QStringLiteral("データを保存しました。");
    if (dropped > 0)
        done += QStringLiteral("（値のないデータ行 %1 行は保存していません。）").arg(dropped);
    ui_.setStatusText(done);
    headerWidget(HeaderField::調査地区No)->setFocus();
    return true;
}

void DataSheetWindow::focusInvalidInput(const InvalidInput& input)
{
    if (input.field) {
        QWidget* widget = headerWidget(*input.field);
        widget->setFocus();
        if (QLineEdit* line = lineEditOf(widget))
            line->selectAll();
        return;
    }
    if (input.point < 0)
        return;
    vaSpread1_->setCurrentIndex(pointsModel_->index(input.point, 0));
    showCurrentPointRecords();
    const QModelIndex cell = recordsModel_->index(input.row, input.column - 1);
    vaSpread2_->setCurrentIndex(cell);
    vaSpread2_->scrollTo(cell);
    vaSpread2_->setFocus();
}

void DataSheetWindow::deleteSurvey()
{
    bool deleted = false;
    try {
        db::SurveyStore store(workspace_);
        deleted = store.deleteSurvey(doc_.header(HeaderField::調査地区No), true, ui_);
    } catch (const Failure& failure) {
        handle(doc_.report(failure));
    }
    // The survey is gone: nothing of it stays on the sheet to be saved again.
    if (deleted)
        newSurvey();
}

void DataSheetWindow::exportWorkbook()
{
    // A sheet without a single record row has nothing a workbook could show.
    bool anyRecord = false;
    for (int p = 0; p < doc_.pointCount() && !anyRecord; ++p)
        anyRecord = doc_.recordCount(p) > 0;
    if (!anyRecord) {
        ui_.showMessage(QStringLiteral("出力するデータがありません。"), MessageIcon::Information);
        return;
    }
    const QString proposed = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                 .filePath(xlsx::proposedWorkbookFileName(doc_.header(HeaderField::調査地区No),
                                                                          doc_.header(HeaderField::現場名)));
    QString path;
    if (chooseWorkbookFile_) {
        path = chooseWorkbookFile_(proposed);
    } else {
        QFileDialog dialog(this, QStringLiteral("Excel出力"), QFileInfo(proposed).absolutePath(),
                           QStringLiteral("Excelブック (*.xlsx)"));
        dialog.setObjectName(QStringLiteral("dlg_Excel出力"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("xlsx"));
        dialog.selectFile(QFileInfo(proposed).fileName());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return;
    std::optional<Failure> failed;
    try {
        BusyScope busy(ui_, QStringLiteral("Excelファイルの出力中..."));
        xlsx::WriteSurveyWorkbook(doc_, state_, path, workspace_.survey() ? workspace_.survey()->path() : QString());
    } catch (const Failure& failure) {
        failed = failure;
    }
    if (failed)
        handle(doc_.report(*failed));
}

} // namespace vortan::sheet
