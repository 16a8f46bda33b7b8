#include "app/main_window.h"

#include "app/about_dialog.h"
#include "ui/common/busy_state.h"
#include "core/busy_scope.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "ui/common/qt_user_interface.h"
#include "core/settings_loader.h"
#include "ui/common/status_panel_bar_widget.h"
#include "ui/common/toolbar_icons.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/database_repair.h"
#include "db/program_start.h"
#include "db/workspace.h"
#include "migrate/legacy_database_offer.h"
#include "migrate/legacy_import_command.h"
#include "migrate/migration_failure.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

namespace vortan::ui {

namespace {

struct ToolbarButton {
    const char* key;
    const char* description;  // nullptr: a separator
    const char* toolTip;
};

// Toolbar1, left to right.
constexpr ToolbarButton ToolbarButtons[] = {
    {"tb_Exit", "Vortanの終了", ""},
    {"tb_Dummy1", nullptr, nullptr},
    {"tb_DataSheet", "データシートの表示", "データシートの表示"},
    {"tb_Find", "データ検索の表示", "測定データの検索"},
    {"tb_印刷フォーム", "印刷プレビューの表示", "印刷フォーム"},
    {"tb_データ受信", "メモリーカードの読み込み", "メモリーカードの読み込み"},
    {"tb_ＣＦデータ受信", "ＣＦデータカードの読み込み", "ＣＦデータの読み込み"},
    {"tb_Dummy5", nullptr, nullptr},
    {"tb_姓名マスタ", "姓名マスタの表示", "姓名マスタの編集"},
    {"tb_住所マスタ", "住所ラベル表記の表示", "住所ラベル表記の編集"},
    {"tb_天候マスタ", "天候マスタの表示", "天候マスタの編集"},
    {"tb_土質マスタ", "土質マスタの表示", "土質マスタの編集"},
    {"tb_得意先マスタ", "得意先マスタの表示", "得意先マスタの編集"},
    {"tb_調査目的マスタ", "調査目的マスタの表示", "調査目的マスタの編集"},
    {"tb_調査地区記事マスタ", "調査地区記事マスタの表示", "調査地区記事マスタの編集"},
    {"tb_測点記事マスタ", "測点記事マスタの表示", "測点記事マスタの編集"},
    {"tb_測点データ記事マスタ", "測点データ記事マスタの表示", "測点データ記事の編集"},
    {"tb_RNd値", "Nd値マスタの表示", "Nd値の計算式の編集"},
    {"tb_Qa値", "Qa値マスタの表示", "Qa値計算式の編集"},
    {"tb_Nd値", "Nd値マスタの表示", "Nd値計算式の編集"},
    {"tb_Delete", "メモリカードの削除", "メモリカードの削除"},
    {"tb_Format", "メモリカードのフォーマット", "メモリカードのフォーマット"},
};

// Toolbar keys that only clear the status text.
bool isInertKey(const QString& key)
{
    return key == u"tb_データ受信" || key == u"tb_Delete" || key == u"tb_Format";
}

const QString DataSheetKey = QStringLiteral("tb_DataSheet");
const QString PrintWindowKey = QStringLiteral("tb_印刷フォーム");
const QString OptionsDialogKey = QStringLiteral("mnu_プロパティ");
const QString ConversionKey = QStringLiteral("mnu_データコンバート");

// Keys whose command opens a registered screen.
bool opensScreen(const QString& key)
{
    static const QStringList screens = [] {
        QStringList keys = {DataSheetKey,
                            QStringLiteral("tb_Find"),
                            PrintWindowKey,
                            QStringLiteral("tb_ＣＦデータ受信"),
                            QStringLiteral("tb_RNd値"),
                            QStringLiteral("tb_Qa値"),
                            QStringLiteral("tb_Nd値"),
                            OptionsDialogKey,
                            ConversionKey};
        keys += MasterEditorKeys();
        return keys;
    }();
    return screens.contains(key);
}

// The window's place in the settings file: section "window", written when
// the program ends and read when it starts (not part of the settings the
// options dialog edits).
const QString WindowSection = QStringLiteral("window");

const QString UpdatePagePath = QStringLiteral("/Product/Software/vortan/vortanversion.html");
const QString RemoteSupportPath = QStringLiteral("/TeamViewerQS.exe");

// What the repair did to one database file, for the closing message: whether
// it was damaged and where its original is kept, then the rows per table.
QString repairReport(const QString& label, const db::RepairOutcome& outcome)
{
    QStringList lines;
    if (outcome.damaged) {
        lines << label + QStringLiteral(": 損傷していたため、読み出せたデータを新しいファイルに移しました。")
              << QStringLiteral("損傷していた元のファイルは「%1」として残してあります。").arg(outcome.keptOriginal);
    } else {
        lines << label + QStringLiteral(": 損傷は見つかりませんでした。ファイルを最適化しました。");
    }
    lines << QStringLiteral("テーブルごとの行数:");
    for (const db::SalvagedTable& table : outcome.tables) {
        QString line = QStringLiteral("　%1: %2 行").arg(table.name).arg(table.rows);
        if (table.unreadableParts)
            line += QStringLiteral("（読み出せない部分がありました）");
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

// Opens a database again after a failed repair, unless it is open already;
// a failure here stays unreported (the repair's own failure is).
void reopenQuietly(const std::function<void()>& open, bool isOpen)
{
    if (isOpen)
        return;
    try {
        open();
    } catch (const Failure&) {
    }
}

QString hostWithoutSlashes(QString host)
{
    host = host.trimmed();
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host;
}

} // namespace

QStringList MasterEditorKeys()
{
    return {QStringLiteral("tb_姓名マスタ"),         QStringLiteral("tb_天候マスタ"),
            QStringLiteral("tb_土質マスタ"),         QStringLiteral("tb_得意先マスタ"),
            QStringLiteral("tb_調査目的マスタ"),     QStringLiteral("tb_調査地区記事マスタ"),
            QStringLiteral("tb_測点記事マスタ"),     QStringLiteral("tb_測点データ記事マスタ"),
            QStringLiteral("tb_住所マスタ")};
}

MainWindow::DesktopActions MainWindow::platformDesktopActions()
{
    DesktopActions actions;
    actions.openManual = [](QStringView folder) { platform::openManual(folder); };
    actions.openWebAddress = [](const QString& address) { return platform::openWebAddress(address); };
    actions.endProgram = [] { QCoreApplication::exit(0); };
    actions.chooseAccessFile = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("旧データベースの取り込み"), QString(),
                                            QStringLiteral("Accessデータベース (*.mdb *.MDB);;すべてのファイル (*)"));
    };
    actions.chooseNewDatabase = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("新しいデータベースの保存先"), suggested,
                                            QStringLiteral("Vortanデータベース (*.mdb *.MDB);;すべてのファイル (*)"));
    };
    return actions;
}

MainWindow::MainWindow(SettingsStore& store, ProgramState& state, db::Workspace& workspace,
                       UserInterface& ui, ChildWindowRegistry registry, QWidget* parent)
    : QMainWindow(parent)
    , store_(store)
    , state_(state)
    , workspace_(workspace)
    , ui_(ui)
    , registry_(std::move(registry))
    , desktop_(platformDesktopActions())
    , mdiArea_(new QMdiArea(this))
    , statusBar_(new StatusPanelBar(this))
{
    setObjectName(QStringLiteral("F_MDIForm"));
    setWindowTitle(QString::fromUtf8(ProgramTitle));
    setWindowIcon(ProgramIcon());
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    setStatusBar(statusBar_);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* frame) {
        undoGroup_.setActiveStack(frame ? undoStacks_.value(frame->widget(), nullptr) : nullptr);
    });
    buildMenus();
    buildToolBar();
    updateCommandStates();
    resize(1100, 760);
}

MainWindow::~MainWindow()
{
    // Screens may hold references to objects their registry entries keep
    // alive: they go before the registry does.
    for (QMdiSubWindow* frame : mdiArea_->subWindowList())
        delete frame;
    for (const QPointer<QWidget>& child : std::as_const(children_))
        delete child.data();
}

void MainWindow::setDesktopActions(DesktopActions actions)
{
    desktop_ = std::move(actions);
}

void MainWindow::connectUserInterface(QtUserInterface& ui)
{
    ui.setParentWidget(this);
    ui.setStatusBar(statusBar_);
    ui.setBusyWidget(this);
    ui.setOptionsDialogOpener([this](int tab) { openOptionsDialog(tab); });
    ui.setAboutWindowCloser([this] { closeAboutWindow(); });
}

QAction* MainWindow::addCommand(const QString& key, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setObjectName(key);
    actions_.insert(key, action);
    return action;
}

void MainWindow::buildToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("ツールバー"));
    toolBar_->setObjectName(QStringLiteral("Toolbar1"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolbarButton& button : ToolbarButtons) {
        const QString key = QString::fromUtf8(button.key);
        if (!button.description) {
            QAction* separator = toolBar_->addSeparator();
            separator->setObjectName(key);
            continue;
        }
        QAction* action = addCommand(key, QString::fromUtf8(button.description));
        action->setStatusTip(action->text());
        action->setToolTip(QString::fromUtf8(button.toolTip));
        action->setIcon(ToolbarIcon(key));
        toolBar_->addAction(action);
        connect(action, &QAction::triggered, this, [this, key] { runToolbarCommand(key); });
        if (QString::fromUtf8(button.toolTip).isEmpty()) {
            // A button without a tool tip shows none (Qt would show its text).
            if (QWidget* widget = toolBar_->widgetForAction(action))
                widget->installEventFilter(this);
        }
    }
}

void MainWindow::buildMenus()
{
    auto addMenu = [this](const QString& name, const QString& title) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };
    auto addItem = [this](QMenu* menu, const QString& name, const QString& caption,
                          auto handler) {
        QAction* action = addCommand(name, caption);
        menu->addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addSeparator = [](QMenu* menu, const QString& name) {
        menu->addSeparator()->setObjectName(name);
    };

    QMenu* file = addMenu(QStringLiteral("mnu_ファイル"), QStringLiteral("ファイル(&F)"));
    addItem(file, OptionsDialogKey, QStringLiteral("プロパティ(&P)"), [this] {
        setBusy(QString(), false);
        openChild(OptionsDialogKey);
    });
    addSeparator(file, QStringLiteral("mnu_Dummy1"));
    addItem(file, ConversionKey, QStringLiteral("データコンバート(&D)"), [this] {
        setBusy(QString(), false);
        openChild(ConversionKey);
    });
    addItem(file, QStringLiteral("mnu_データベースの修復"), QStringLiteral("データベースの修復"),
            [this] { repairDatabases(); });
    addItem(file, QStringLiteral("mnu_旧データベースの取り込み"), QStringLiteral("旧データベースの取り込み..."),
            [this] { importLegacyDatabase(); });
    addSeparator(file, QStringLiteral("mnu_Dummy2"));
    addItem(file, QStringLiteral("mnu_終了"), QStringLiteral("終了(&X)"), [this] { close(); })
        ->setIcon(ToolbarIcon(QStringLiteral("tb_Exit")));

    // Undo and redo of the active screen. The keys are the screen's own
    // (Ctrl+Z, Ctrl+Y): the menu only shows them.
    QMenu* edit = addMenu(QStringLiteral("mnu_編集"), QStringLiteral("編集(&E)"));
    QAction* undo = addItem(edit, QStringLiteral("mnu_元に戻す"), QStringLiteral("元に戻す(&U)\tCtrl+Z"),
                            [this] { undoGroup_.undo(); });
    QAction* redo = addItem(edit, QStringLiteral("mnu_やり直し"), QStringLiteral("やり直し(&R)\tCtrl+Y"),
                            [this] { undoGroup_.redo(); });
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(&undoGroup_, &QUndoGroup::canUndoChanged, undo, &QAction::setEnabled);
    connect(&undoGroup_, &QUndoGroup::canRedoChanged, redo, &QAction::setEnabled);

    QMenu* window = addMenu(QStringLiteral("mnu_ウィンドウ"), QStringLiteral("ウィンドウ(&W)"));
    addItem(window, QStringLiteral("mnu_上下"), QStringLiteral("上下に並べて表示(&H)"),
            [this] { tileHorizontally(); });
    addItem(window, QStringLiteral("mnu_左右"), QStringLiteral("左右に並べて表示(&V)"),
            [this] { tileVertically(); });
    addItem(window, QStringLiteral("mnu_重ねて"), QStringLiteral("重ねて表示"), [this] { cascade(); });
    addItem(window, QStringLiteral("mnu_アイコン"), QStringLiteral("アイコン整列"),
            [this] { arrangeIcons(); });
    connect(window, &QMenu::aboutToShow, this, [this, window] { listOpenWindows(window); });

    QMenu* help = addMenu(QStringLiteral("mnu_Help"), QStringLiteral("ヘルプ(&H)"));
    addItem(help, QStringLiteral("mnu_sHelp"), QStringLiteral("ヘルプ(&H)"), [this] { openManual(); });
    addItem(help, QStringLiteral("mnu_Version"), QStringLiteral("バージョン情報(&A)"),
            [this] { showVersion(); });
    addItem(help, QStringLiteral("mnu_Update"), QStringLiteral("アップデート情報を確認する"),
            [this] { openUpdatePage(); });
    addItem(help, QStringLiteral("mnu_remote"), QStringLiteral("リモートサポート"),
            [this] { openRemoteSupport(); });
}

void MainWindow::listOpenWindows(QMenu* menu)
{
    // Below the arrangement commands, one item per open screen, the active
    // one checked; choosing one brings it to the front.
    for (QAction* action : std::as_const(windowListActions_)) {
        menu->removeAction(action);
        action->deleteLater();
    }
    windowListActions_.clear();
    int number = 0;
    for (QMdiSubWindow* frame : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!frame->isVisible())
            continue;
        if (windowListActions_.isEmpty())
            windowListActions_.append(menu->addSeparator());
        ++number;
        const QString title = frame->widget() ? frame->widget()->windowTitle() : frame->windowTitle();
        QAction* item = menu->addAction(QStringLiteral("&%1 %2").arg(number).arg(title));
        item->setObjectName(QStringLiteral("mnu_ウィンドウ一覧"));
        item->setCheckable(true);
        item->setChecked(frame == mdiArea_->activeSubWindow());
        const QPointer<QMdiSubWindow> target(frame);
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            mdiArea_->setActiveSubWindow(target);
        });
        windowListActions_.append(item);
    }
}

void MainWindow::registerUndoStack(QWidget* child, QUndoStack* stack)
{
    undoGroup_.addStack(stack);
    undoStacks_.insert(child, stack);
    connect(child, &QObject::destroyed, this, [this, child] { undoStacks_.remove(child); });
    if (QMdiSubWindow* frame = mdiArea_->activeSubWindow(); frame && frame->widget() == child)
        undoGroup_.setActiveStack(stack);
}

void MainWindow::updateCommandStates()
{
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        if (opensScreen(it.key()))
            it.value()->setEnabled(registry_.contains(it.key()));
    }
}

QAction* MainWindow::commandAction(const QString& key) const
{
    return actions_.value(key, nullptr);
}

QString MainWindow::statusText() const
{
    return statusBar_->panelText();
}

int MainWindow::statusPanelWidth() const
{
    return statusBar_->panelWidth();
}

ChildWindowContext MainWindow::context()
{
    return ChildWindowContext{state_, store_, workspace_, ui_, *this};
}

void MainWindow::centreOnScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 2);
}

bool MainWindow::showAndLoad()
{
    centreOnScreen();
    show();
    db::ProgramLoadOptions options;
    options.programFolder = platform::programFolder();
    options.beforeSurveyOpen = [this](SettingsStore& store, ProgramState& state) {
        offerLegacyMigration(store, state);
    };
    const db::ProgramLoadResult result = db::LoadProgram(store_, state_, workspace_, ui_, options);
    if (result.endProgram() || endAfterLoad_) {
        endProgram();
        return false;
    }
    restoreRememberedGeometry();
    if (!result.completed())
        return true;
    try {
        runLoadSteps();
    } catch (const Failure& failure) {
        report(failure);
    }
    return !ended_;
}

void MainWindow::offerLegacyMigration(SettingsStore& store, ProgramState& state)
{
    migrate::Offer offer;
    try {
        offer = migrate::OfferLegacyMigration(state.settings.データ位置, ui_);
    } catch (const Failure& failure) {
        endAfterLoad_ = migrate::ReportMigrationFailure(failure, ErrorContext{ui_, state, false})
            == action::EndProgram;
        throw Failure(err::None, QStringLiteral("The old database was not brought across."), QString());
    }
    switch (offer.outcome) {
    case migrate::OfferOutcome::NoAccessFile:
        return;
    case migrate::OfferOutcome::Declined:
        // Said and answered: the program runs on without a survey database.
        throw Failure(err::None, QStringLiteral("The old database was left as it is."), QString());
    case migrate::OfferOutcome::Migrated:
        state.settings.データ位置 = QDir::toNativeSeparators(offer.newPath);
        SaveSettings(store, state.settings);
        return;
    }
}

void MainWindow::importLegacyDatabase()
{
    setBusy(QString(), false);
    migrate::LegacyImportChoosers choosers;
    if (desktop_.chooseAccessFile)
        choosers.accessFile = [this] { return desktop_.chooseAccessFile(this); };
    if (desktop_.chooseNewDatabase)
        choosers.newFile = [this](const QString& suggested) { return desktop_.chooseNewDatabase(this, suggested); };
    const QString open = workspace_.survey() ? workspace_.survey()->path() : QString();
    if (migrate::RunLegacyImportCommand(choosers, ErrorContext{ui_, state_, workspace_.surveyOpen()}, open)
        == action::EndProgram)
        endProgram();
}

void MainWindow::runLoadSteps()
{
    helpFile_ = platform::joinPath(platform::programFolder(), QStringLiteral("Vortan.hlp"));

    // The master editors are set up in the order of their instances; with
    // the last, the options dialog prepares its address-label list.
    for (const QString& key : MasterEditorKeys()) {
        const ChildWindowEntry* entry = registry_.find(key);
        if (!entry)
            continue;
        QWidget* editor = ensureChild(key);
        if (editor && entry->setUpAtLoad)
            entry->setUpAtLoad(editor, context());
    }
    if (const ChildWindowEntry* options = registry_.find(OptionsDialogKey); options && options->setUpAtLoad) {
        if (QWidget* dialog = ensureChild(OptionsDialogKey))
            options->setUpAtLoad(dialog, context());
    }

    if (registry_.contains(PrintWindowKey)) {
        QWidget* print = ensureChild(PrintWindowKey);
        if (auto* zoom = print ? print->findChild<QComboBox*>(QStringLiteral("Combo1")) : nullptr)
            zoom->setCurrentText(QStringLiteral("100%"));
    }

    if (registry_.contains(DataSheetKey)) {
        QWidget* sheet = showChild(DataSheetKey, {});
        if (auto* number = sheet ? sheet->findChild<QWidget*>(QStringLiteral("txt_調査地区No")) : nullptr)
            number->setFocus(Qt::OtherFocusReason);
    }
    loaded_ = true;
}

QWidget* MainWindow::childWindow(const QString& key) const
{
    const QPointer<QWidget> child = children_.value(key);
    return child.data();
}

QMdiSubWindow* MainWindow::subWindowOf(const QString& key) const
{
    QWidget* child = childWindow(key);
    return child ? qobject_cast<QMdiSubWindow*>(child->parentWidget()) : nullptr;
}

QWidget* MainWindow::ensureChild(const QString& key)
{
    if (QWidget* existing = childWindow(key))
        return existing;
    const ChildWindowEntry* entry = registry_.find(key);
    if (!entry)
        return nullptr;
    QWidget* child = entry->create(context());
    if (!child)
        return nullptr;
    if (entry->presentation == ChildPresentation::MdiChild) {
        QMdiSubWindow* frame = mdiArea_->addSubWindow(child);
        frame->setWindowIcon(child->windowIcon().isNull() ? windowIcon() : child->windowIcon());
        frame->hide();
    } else {
        child->setParent(this, child->windowFlags() | Qt::Dialog);
    }
    children_.insert(key, child);
    return child;
}

QWidget* MainWindow::showChild(const QString& key,
                                  const std::function<void(QWidget*)>& beforeShow)
{
    QWidget* child = ensureChild(key);
    if (!child)
        return nullptr;
    if (beforeShow)
        beforeShow(child);
    if (QMdiSubWindow* frame = subWindowOf(key)) {
        child->show();
        if (frame->isMinimized())
            frame->showNormal();
        else
            frame->show();
        mdiArea_->setActiveSubWindow(frame);
        frame->raise();
        return child;
    }
    if (auto* dialog = qobject_cast<QDialog*>(child)) {
        dialog->exec();
    } else {
        child->setWindowModality(Qt::ApplicationModal);
        child->show();
        child->raise();
        child->activateWindow();
    }
    return child;
}

QWidget* MainWindow::openChild(const QString& key, const std::function<void(QWidget*)>& beforeShow)
{
    try {
        return showChild(key, beforeShow);
    } catch (const Failure& failure) {
        report(failure);
        return nullptr;
    }
}

void MainWindow::setBusy(const QString& message, bool busy, QWidget* form, bool lockForm)
{
    vortan::SetBusy(ui_, message, busy, form ? form : this, lockForm);
}

void MainWindow::openOptionsDialog(int tab)
{
    openChild(OptionsDialogKey, [tab](QWidget* dialog) {
        QWidget* strip = dialog->findChild<QWidget*>(QStringLiteral("TabStrip1"));
        if (auto* tabs = qobject_cast<QTabWidget*>(strip))
            tabs->setCurrentIndex(tab - 1);
        else if (auto* bar = qobject_cast<QTabBar*>(strip))
            bar->setCurrentIndex(tab - 1);
    });
}

AboutDialog* MainWindow::aboutWindow() const
{
    return about_.data();
}

void MainWindow::closeAboutWindow()
{
    if (about_)
        about_->reject();
}

void MainWindow::runToolbarCommand(const QString& key)
{
    setBusy(QString(), false);
    if (key == u"tb_Exit") {
        close();
        return;
    }
    if (isInertKey(key))
        return;
    openChild(key);
}

void MainWindow::report(const Failure& failure)
{
    const std::int16_t answer =
        ReportError(failure, ErrorContext{ui_, state_, workspace_.surveyOpen()});
    if (answer == action::EndProgram)
        endProgram();
}

void MainWindow::endProgram()
{
    ended_ = true;
    if (desktop_.endProgram)
        desktop_.endProgram();
}

void MainWindow::repairDatabases()
{
    const QString temporary = platform::temporaryFolder();
    const AppSettings& settings = state_.settings;
    QStringList summary;
    try {
        workspace_.closeSurvey();
        BusyScope busy(ui_, QStringLiteral("Vortan.MDBの修復中..."));
        ui_.processEvents();
        summary << repairReport(QStringLiteral("Vortan.MDB"),
                               db::repairDatabase(settings.データ位置,
                                                  platform::joinPath(temporary, QStringLiteral("tmpVortan.MDB"))));
        workspace_.openSurvey(settings.データ位置);

        workspace_.closePostal();
        busy.start(QStringLiteral("YUUBIN.MDBの修復中..."));
        ui_.processEvents();
        summary << repairReport(QStringLiteral("YUUBIN.MDB"),
                               db::repairDatabase(settings.住所位置,
                                                  platform::joinPath(temporary, QStringLiteral("tmpYUUBIN.MDB"))));
        workspace_.openPostal(settings.住所位置);

        const QString done = QStringLiteral("データベースを修復しました｡");
        busy.finish(done);
        ui_.showMessage(done + QStringLiteral("\n\n") + summary.join(QStringLiteral("\n\n")),
                        MessageIcon::Information);
    } catch (const Failure& failure) {
        // The file under each path is still the old one or the repaired one:
        // open it again, so that a failed repair leaves the program usable.
        reopenQuietly([&] { workspace_.openSurvey(settings.データ位置); }, workspace_.surveyOpen());
        reopenQuietly([&] { workspace_.openPostal(settings.住所位置); }, workspace_.postal() != nullptr);
        report(failure);
    }
}

void MainWindow::openManual()
{
    try {
        if (desktop_.openManual)
            desktop_.openManual(state_.settings.ini位置);
    } catch (const Failure& failure) {
        report(failure);
    }
}

void MainWindow::showVersion()
{
    AboutDialog about(this);
    about_ = &about;
    about.prepareForVersionCommand();
    about.exec();
}

void MainWindow::openWebPage(const QString& host, const QString& path,
                                const QString& notConfigured)
{
    const QString server = hostWithoutSlashes(host);
    if (server.isEmpty()) {
        ui_.showMessage(notConfigured, MessageIcon::Information);
        return;
    }
    const QString address = QStringLiteral("https://") + server + path;
    if (!desktop_.openWebAddress || !desktop_.openWebAddress(address)) {
        ui_.showMessage(QStringLiteral("次のアドレスをブラウザで開けませんでした。\n") + address,
                        MessageIcon::Exclamation);
    }
}

void MainWindow::openUpdatePage()
{
    openWebPage(state_.settings.UpdateHost, UpdatePagePath,
                QStringLiteral("アップデート情報の確認先が設定されていません。\n"
                               "設定ファイルの[etc]セクションの「UpdateHost」に、"
                               "確認先のホスト名を設定してください。"));
}

void MainWindow::openRemoteSupport()
{
    openWebPage(state_.settings.RemoteSupportHost, RemoteSupportPath,
                QStringLiteral("リモートサポートのダウンロード先が設定されていません。\n"
                               "設定ファイルの[etc]セクションの「RemoteSupportHost」に、"
                               "ダウンロード先のホスト名を設定してください。"));
}

QList<QMdiSubWindow*> MainWindow::arrangeableWindows() const
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* frame : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (frame->isVisible() && !frame->isMinimized())
            windows.append(frame);
    }
    return windows;
}

void MainWindow::tileHorizontally()
{
    const QList<QMdiSubWindow*> windows = arrangeableWindows();
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea_->viewport()->rect();
    const int height = std::max(1, area.height() / static_cast<int>(windows.size()));
    int top = 0;
    for (QMdiSubWindow* frame : windows) {
        if (frame->isMaximized())
            frame->showNormal();
        frame->setGeometry(0, top, area.width(), height);
        top += height;
    }
}

void MainWindow::tileVertically()
{
    const QList<QMdiSubWindow*> windows = arrangeableWindows();
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea_->viewport()->rect();
    const int width = std::max(1, area.width() / static_cast<int>(windows.size()));
    int left = 0;
    for (QMdiSubWindow* frame : windows) {
        if (frame->isMaximized())
            frame->showNormal();
        frame->setGeometry(left, 0, width, area.height());
        left += width;
    }
}

void MainWindow::cascade()
{
    mdiArea_->cascadeSubWindows();
}

void MainWindow::arrangeIcons()
{
    // Minimised windows line up along the bottom edge, left to right, in
    // rows upwards when one row is full.
    const QRect area = mdiArea_->viewport()->rect();
    int left = 0;
    int bottom = area.bottom() + 1;
    for (QMdiSubWindow* frame : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!frame->isVisible() || !frame->isMinimized())
            continue;
        const QSize size = frame->size();
        if (left > 0 && left + size.width() > area.width()) {
            left = 0;
            bottom -= size.height();
        }
        frame->move(left, bottom - size.height());
        left += size.width();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && qobject_cast<QToolButton*>(watched))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (ended_ || closed_) {
        QMainWindow::closeEvent(event);
        return;
    }
    // Every screen may refuse to close (unsaved data): then the program goes on.
    for (QMdiSubWindow* frame : mdiArea_->subWindowList()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    closed_ = true;
    rememberGeometry();
    db::CloseProgram(store_, state_, workspace_, ui_);
    QMainWindow::closeEvent(event);
    endProgram();
}

void MainWindow::rememberGeometry()
{
    // The size of the window when not maximised, so that it comes back to
    // it when the user restores it after a start maximised.
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (normal.isValid()) {
        store_.setValue(WindowSection, QStringLiteral("Left"), QString::number(normal.left()));
        store_.setValue(WindowSection, QStringLiteral("Top"), QString::number(normal.top()));
        store_.setValue(WindowSection, QStringLiteral("Width"), QString::number(normal.width()));
        store_.setValue(WindowSection, QStringLiteral("Height"), QString::number(normal.height()));
    }
    store_.setValue(WindowSection, QStringLiteral("Maximized"),
                    isMaximized() ? QStringLiteral("True") : QStringLiteral("False"));
}

void MainWindow::restoreRememberedGeometry()
{
    bool ok[4] = {};
    const auto number = [this](const char* key, bool* valid) {
        return store_.value(WindowSection, QString::fromLatin1(key), QString()).toInt(valid);
    };
    const QRect remembered(number("Left", &ok[0]), number("Top", &ok[1]), number("Width", &ok[2]),
                           number("Height", &ok[3]));
    if (ok[0] && ok[1] && ok[2] && ok[3] && remembered.width() >= 200 && remembered.height() >= 150) {
        // A place on a screen that is gone (a second monitor unplugged) is
        // not taken: the window would open out of sight.
        if (QGuiApplication::screenAt(remembered.center()))
            setGeometry(remembered);
    }
    if (store_.value(WindowSection, QStringLiteral("Maximized"), QString()) == u"True")
        showMaximized();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    const int width = event->size().width() - 200;
    if (width > 0)
        statusBar_->setPanelWidth(width);
}

} // namespace vortan::ui
