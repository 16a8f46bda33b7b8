#include "ui/sheet/master_editor_window.h"
#include "calc/editor_close.h"
#include "ui/common/keyed_toolbar_widget.h"

#include "core/text_grid_model.h"
#include "core/user_interface.h"
#include "report/colour_number.h"
#include "ui/common/editor_grid_widget.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QCloseEvent>
#include <QColorDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <array>
#include <memory>

namespace vortan::sheet {

namespace {

const MasterDefinition& definitionOf(const QString& caption)
{
    const MasterDefinition* master = FindMasterByCaption(caption);
    Q_ASSERT_X(master, "F_Mast", "unknown master caption");
    return master ? *master : MasterDefinitions().front();
}

QFont screenFont(QFont font)
{
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSize(10);
    return font;
}

} // namespace

MasterEditorWindow::MasterEditorWindow(const QString& caption, ProgramState& state, db::Workspace& workspace, UserInterface& ui,
               QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui),
      editor_(definitionOf(caption), MasterEditor::Services{state, workspace, ui})
{
    setObjectName(QStringLiteral("F_Mast"));
    setWindowTitle(caption);
    setFont(screenFont(font()));

    const MasterDefinition& master = editor_.master();
    QStringList headings;
    std::vector<int> widths;
    QSet<int> readOnly;
    for (int c = 0; c < static_cast<int>(master.columns.size()); ++c) {
        const MasterColumn& column = master.columns[static_cast<std::size_t>(c)];
        headings << column.heading;
        widths.push_back(column.widthLetters);
        if (column.kind == MasterColumn::Kind::Colour)
            colourColumn_ = c;
        if (column.kind == MasterColumn::Kind::Button) {
            buttonColumn_ = c;
            readOnly.insert(c);
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    toolbar_ = CreateKeyedToolbar(this,
                                  {{QStringLiteral("tb_Exit"), QStringLiteral("閉じる")},
                                   {QStringLiteral("tb_Load"), QStringLiteral("呼び出し")},
                                   {QStringLiteral("tb_Save"), QStringLiteral("保存")}},
                                  [this](const QString& key) { runToolbarCommand(key); });
    tbSave_ = toolbar_->findChild<QAction*>(QStringLiteral("tb_Save"));
    layout->addWidget(toolbar_);

    model_ = new TextGridModel(editor_.grid(), headings, this);
    model_->setReadOnlyColumns(readOnly);
    QSet<int> numbers;
    for (int c = 0; c < static_cast<int>(master.columns.size()); ++c)
        if (master.columns[static_cast<std::size_t>(c)].kind == MasterColumn::Kind::Number ||
            master.columns[static_cast<std::size_t>(c)].kind == MasterColumn::Kind::Colour)
            numbers.insert(c);
    model_->setNumberColumns(numbers);
    if (colourColumn_ >= 0) {
        const int colourColumn = colourColumn_;
        model_->setBackground([this, colourColumn](int row, int column) -> std::optional<QColor> {
            if (column != colourColumn)
                return std::nullopt;
            const QString text = editor_.grid().cell(row, column).trimmed();
            if (text.isEmpty())
                return std::nullopt;
            return report::toQColor(report::colourFromText(text));
        });
        // The colour shows as a swatch; a double click chooses another.
        model_->setSwatchColumns({colourColumn});
    }
    connect(model_, &TextGridModel::edited, this, [this] { markChanged(); });

    vaSpread1_ = new EditorGrid(model_, this);
    vaSpread1_->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1_->setColumnWidthsInLetters(widths);
    vaSpread1_->setRowDeleter([this](std::vector<int> rows) { deleteRows(std::move(rows)); });
    vaSpread1_->setRowAppended([this] { refreshColourButtons(); });
    connect(vaSpread1_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() == colourColumn_)
            chooseColour(index.row());
    });
    layout->addWidget(vaSpread1_, 1);

    // Wide enough for every column, within reason.
    int width = vaSpread1_->verticalHeader()->sizeHint().width() + 40;
    for (int letters : widths)
        width += vaSpread1_->lettersWidth(letters);
    resize(std::clamp(width, 320, 1100), 420);

    editor_.clear();
    refreshGrid();
    updateSaveState();
    watchTopLevelActivation();
}

MasterEditorWindow::~MasterEditorWindow()
{
    // The models and views read the editor's grids, which go with the
    // members before the base class deletes the children: they go first.
    QList<QPointer<QObject>> children;
    for (QObject* child : this->children())
        children.append(child);
    for (const QPointer<QObject>& child : children)
        delete child.data();
}

void MasterEditorWindow::setColourChooser(std::function<std::optional<QColor>(const QColor&)> chooser)
{
    chooser_ = std::move(chooser);
}

void MasterEditorWindow::runToolbarCommand(const QString& key)
{
    if (key == u"tb_Exit") {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    } else if (key == u"tb_Load") {
        loadWithMessages();
    } else if (key == u"tb_Save") {
        handle(editor_.save());
        updateSaveState();
    }
}

void MasterEditorWindow::loadWithMessages()
{
    editor_.clear();
    const calc::EditorOutcome outcome = editor_.load(true);
    refreshGrid();
    updateSaveState();
    handle(outcome);
}

void MasterEditorWindow::resetOnActivation()
{
    editor_.clear();
    const calc::EditorOutcome outcome = editor_.load(false);
    refreshGrid();
    updateSaveState();
    handle(outcome);
}

void MasterEditorWindow::refreshGrid()
{
    model_->reload();
    refreshColourButtons();
}

void MasterEditorWindow::refreshColourButtons()
{
    if (buttonColumn_ < 0)
        return;
    for (int r = 0; r < model_->rowCount(); ++r) {
        const QModelIndex index = model_->index(r, buttonColumn_);
        if (vaSpread1_->indexWidget(index))
            continue;
        auto* button = new QPushButton(QStringLiteral("色変更"));
        button->setObjectName(QStringLiteral("cmd色変更"));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, button] {
            // The row of the button now: rows move when others are deleted.
            for (int r = 0; r < model_->rowCount(); ++r)
                if (vaSpread1_->indexWidget(model_->index(r, buttonColumn_)) == button) {
                    chooseColour(r);
                    return;
                }
        });
        vaSpread1_->setIndexWidget(index, button);
    }
}

void MasterEditorWindow::chooseColour(int row)
{
    if (colourColumn_ < 0 || row < 0 || row >= model_->rowCount())
        return;
    const QString text = editor_.grid().cell(row, colourColumn_).trimmed();
    const QColor initial = text.isEmpty() ? QColor(Qt::white) : report::toQColor(report::colourFromText(text));
    std::optional<QColor> chosen;
    if (chooser_) {
        chosen = chooser_(initial);
    } else {
        const QColor colour = QColorDialog::getColor(initial, this, QStringLiteral("表示色"));
        if (colour.isValid())
            chosen = colour;
    }
    if (!chosen || !chosen->isValid())
        return;
    model_->setData(model_->index(row, colourColumn_), report::colourToText(report::fromQColor(*chosen)));
}

void MasterEditorWindow::markChanged()
{
    editor_.markChanged();
    updateSaveState();
}

void MasterEditorWindow::updateSaveState()
{
    tbSave_->setEnabled(editor_.hasUnsavedChanges());
}

void MasterEditorWindow::deleteRows(std::vector<int> rows)
{
    // Only whole rows are deleted (selected by their row headings).
    rows = vaSpread1_->wholeSelectedRows();
    if (rows.empty())
        return;
    editor_.deleteRows(rows);
    refreshGrid();
    updateSaveState();
}

void MasterEditorWindow::handle(calc::EditorOutcome outcome)
{
    calc::endProgramOn(outcome, endProgram_);
}

void MasterEditorWindow::closeEvent(QCloseEvent* event)
{
    const bool mayClose = calc::mayCloseEditor(ui_, editor_.hasUnsavedChanges(), [this] {
        const calc::EditorOutcome outcome = editor_.save();
        updateSaveState();
        return outcome;
    }, endProgram_);
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

void MasterEditorWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    watchActivation();
}

void MasterEditorWindow::watchActivation()
{
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (activationWatched_ || !frame || !frame->mdiArea())
        return;
    activationWatched_ = true;
    frame_ = frame;
    // The window counts as becoming active when its frame is activated after
    // another child was: returning from a message box or the colour dialog
    // does not reload (and so does not drop) the edits.
    auto lastActive = std::make_shared<QPointer<QMdiSubWindow>>();
    connect(frame->mdiArea(), &QMdiArea::subWindowActivated, this, [this, lastActive](QMdiSubWindow* window) {
        if (!window)
            return;
        const bool wasOther = lastActive->data() != window;
        *lastActive = window;
        if (window == frame_ && wasOther)
            resetOnActivation();
    });
    if (frame->mdiArea()->activeSubWindow() == frame) {
        *lastActive = frame;
        resetOnActivation();
    }
}

void MasterEditorWindow::watchTopLevelActivation()
{
    // A window of its own (outside the multi-document frame) reloads when it
    // gets the focus from another window; coming back from a modal dialog or
    // a dialog of its own (a message box, the colour dialog) keeps the edits.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
        const QPointer<QWindow> previous = previousFocus_;
        previousFocus_ = now;
        if (!isWindow() || !now || now != windowHandle())
            return;
        const bool fromDialog =
            previous && (previous->modality() != Qt::NonModal || previous->transientParent() == windowHandle());
        if (!fromDialog)
            resetOnActivation();
    });
}

} // namespace vortan::sheet
