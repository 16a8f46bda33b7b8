#include "ui/report/report_options_dialog.h"

#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/graph_type_file.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "report/colour_number.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace vortan::report {

namespace {

const QString ZeroOrBlank = QStringLiteral(
    "「棒グラフの目盛の最大値」、「表示ポイント数」、および、「最大貫入長」に、0または、空白は使用できません。");

double valueOf(const QLineEdit* box)
{
    return numtext::leadingNumber(box->text());
}

QString numberText(double value)
{
    return numtext::shortestDouble(value);
}

// A small drawing of a layout: a portrait sheet with its table and graph,
// or a landscape chart with its columns.
QPixmap layoutThumbnail(bool landscape)
{
    const QSize size = landscape ? QSize(96, 68) : QSize(68, 96);
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    if (!landscape) {
        p.drawRect(4, 4, 59, 14);
        for (int y = 24; y < 92; y += 4)
            p.drawLine(4, y, 63, y);
        p.drawLine(36, 20, 36, 92);
        p.setBrush(QColor(0, 0, 255));
        int length = 4;
        for (int y = 24; y < 88; y += 4) {
            p.fillRect(37, y + 1, length, 3, QColor(60, 90, 220));
            length = 4 + (length * 7 + 3) % 22;
        }
    } else {
        p.drawRect(4, 4, 87, 10);
        for (int c = 0; c < 5; ++c) {
            const int left = 4 + c * 17;
            p.drawRect(left, 17, 17, 47);
            int length = 3;
            for (int y = 22; y < 62; y += 3) {
                p.fillRect(left + 3, y, length, 2, QColor(60, 90, 220));
                length = 2 + (length * 5 + c) % 12;
            }
        }
    }
    return pixmap;
}

} // namespace

ReportOptionsDialog::ReportOptionsDialog(ProgramState& state, UserInterface& ui, QWidget* parent)
    : QDialog(parent), state_(state), ui_(ui)
{
    build();
    load();
}

QWidget* ReportOptionsDialog::makeTypePicture(int index)
{
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Picture1(%1)").arg(index));
    frame->setToolTip(index == 2 ? QStringLiteral("タイプ2で出力します。") : QStringLiteral("タイプ1で出力します。"));
    auto* layout = new QVBoxLayout(frame);
    auto* image = new QLabel(frame);
    image->setPixmap(layoutThumbnail(index == 2));
    image->setAlignment(Qt::AlignCenter);
    auto* label = new QLabel(QStringLiteral("タイプ %1").arg(index), frame);
    label->setObjectName(QStringLiteral("Label1(%1)").arg(index));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(image);
    layout->addWidget(label);
    frame->installEventFilter(this);
    image->installEventFilter(this);
    label->installEventFilter(this);
    picture_[static_cast<std::size_t>(index)] = frame;
    typeLabel_[static_cast<std::size_t>(index)] = label;
    return frame;
}

void ReportOptionsDialog::build()
{
    setObjectName(QStringLiteral("F_様式選択"));
    setWindowTitle(QStringLiteral("レポートタイプ選択"));
    const auto numberBox = [this](const QString& name, QWidget* parent) {
        auto* box = new QLineEdit(parent);
        box->setObjectName(name);
        box->setMaximumWidth(64);
        box->installEventFilter(this);
        return box;
    };
    const auto radio = [](const QString& name, const QString& text, QWidget* parent) {
        auto* button = new QRadioButton(text, parent);
        button->setObjectName(name);
        return button;
    };

    // Report types.
    auto* types = new QGroupBox(QStringLiteral("レポートタイプ"), this);
    auto* typeRow = new QHBoxLayout(types);
    for (int i = 0; i < 3; ++i)
        typeRow->addWidget(makeTypePicture(i));

    // Graph kind and value display.
    auto* kind = new QGroupBox(QStringLiteral("グラフの種類"), this);
    auto* kindLayout = new QVBoxLayout(kind);
    auto* kindGroup = new QButtonGroup(kind);
    graphKind_[0] = radio(QStringLiteral("optGrp1(0)"), QStringLiteral("棒グラフ"), kind);
    graphKind_[1] = radio(QStringLiteral("optGrp1(1)"), QStringLiteral("折線グラフ"), kind);
    for (QRadioButton* b : graphKind_) {
        kindGroup->addButton(b);
        kindLayout->addWidget(b);
    }
    showNd_ = new QCheckBox(QStringLiteral("Nd値を表示"), kind);
    showNd_->setObjectName(QStringLiteral("chk_Nd値表示"));
    showQa_ = new QCheckBox(QStringLiteral("qa値を表示"), kind);
    showQa_->setObjectName(QStringLiteral("chk_qa値表示"));
    showQa_->setToolTip(QStringLiteral("チェックマークがついているとQa値を表示します。"));
    showQu_ = new QCheckBox(QStringLiteral("qu値を表示"), kind);
    showQu_->setObjectName(QStringLiteral("chk_qu値表示"));
    kindLayout->addWidget(showNd_);
    kindLayout->addWidget(showQa_);
    kindLayout->addWidget(showQu_);

    // Printed header items.
    auto* items = new QGroupBox(QStringLiteral("印刷設定（チェックを入れた項目を印刷する）"), this);
    auto* itemsLayout = new QHBoxLayout(items);
    const QStringList itemNames{QStringLiteral("Check_標高(0)"), QStringLiteral("Check_標高差(1)"),
                                QStringLiteral("Check_地下水位(2)"), QStringLiteral("Check_記事(3)")};
    const QStringList itemTexts{QStringLiteral("標高"), QStringLiteral("地盤高"), QStringLiteral("地下水位"),
                                QStringLiteral("測点Noの記事")};
    for (int i = 0; i < 4; ++i) {
        auto* check = new QCheckBox(itemTexts.at(i), items);
        check->setObjectName(itemNames.at(i));
        printItem_[static_cast<std::size_t>(i)] = check;
        itemsLayout->addWidget(check);
    }

    // Graph data.
    auto* data = new QGroupBox(QStringLiteral("グラフデータの選択"), this);
    auto* dataLayout = new QHBoxLayout(data);
    auto* dataGroup = new QButtonGroup(data);
    const QStringList dataTexts{QStringLiteral("Nd値"), QStringLiteral("Qa値"), QStringLiteral("Mv値")};
    for (int i = 0; i < 3; ++i) {
        graphData_[static_cast<std::size_t>(i)] = radio(QStringLiteral("Option5(%1)").arg(i), dataTexts.at(i), data);
        dataGroup->addButton(graphData_[static_cast<std::size_t>(i)], i);
        dataLayout->addWidget(graphData_[static_cast<std::size_t>(i)]);
    }
    connect(dataGroup, &QButtonGroup::idClicked, this, [this](int id) { graphDataClicked_ = id; });

    // Depth chart: points per page and maximum depth.
    auto* chart = new QGroupBox(QStringLiteral("タイプ2の設定"), this);
    auto* chartGrid = new QGridLayout(chart);
    pointsPerPage_ = numberBox(QStringLiteral("txt表示ポイント数"), chart);
    maxDepth_ = numberBox(QStringLiteral("txt最大深度"), chart);
    chartGrid->addWidget(new QLabel(QStringLiteral("表示ポイント数"), chart), 0, 0);
    chartGrid->addWidget(pointsPerPage_, 0, 1);
    chartGrid->addWidget(new QLabel(QStringLiteral("最大貫入長(m)"), chart), 1, 0);
    chartGrid->addWidget(maxDepth_, 1, 1);
    auto* chartValueGroup = new QButtonGroup(chart);
    const QStringList valueTexts{QStringLiteral("Nd値"), QStringLiteral("qa値"), QStringLiteral("qu値"),
                                 QStringLiteral("Mv値")};
    chartGrid->addWidget(new QLabel(QStringLiteral("棒グラフの値"), chart), 2, 0);
    chartGrid->addWidget(new QLabel(QStringLiteral("棒グラフの目盛の最大値"), chart), 2, 1, 1, 2);
    for (int i = 0; i < 4; ++i) {
        auto* option = radio(QStringLiteral("Option4(%1)").arg(i), valueTexts.at(i), chart);
        chartValueGroup->addButton(option);
        chartValue_[static_cast<std::size_t>(i)] = option;
        fullScale_[static_cast<std::size_t>(i)] = numberBox(QStringLiteral("Text3(%1)").arg(i), chart);
        chartGrid->addWidget(option, 3 + i, 0);
        chartGrid->addWidget(fullScale_[static_cast<std::size_t>(i)], 3 + i, 1);
    }

    // Load notation.
    auto* load = new QGroupBox(QStringLiteral("SI単位系の荷重の表記"), this);
    auto* loadLayout = new QVBoxLayout(load);
    loadKg_ = radio(QStringLiteral("Option1"), QStringLiteral("kg（おもりの質量）"), load);
    loadKn_ = radio(QStringLiteral("Option2"), QStringLiteral("kN（かける力）"), load);
    loadLayout->addWidget(loadKg_);
    loadLayout->addWidget(loadKn_);

    // Bar colours.
    auto* colours = new QGroupBox(QStringLiteral("グラフの色"), this);
    auto* colourGrid = new QGridLayout(colours);
    auto* basisGroup = new QButtonGroup(colours);
    const QStringList basisTexts{QStringLiteral("土質により変更(色の適応は土質マスタ参照)"),
                                 QStringLiteral("換算Nd値により変更"), QStringLiteral("換算qa値により変更"),
                                 QStringLiteral("Mv値により変更")};
    for (int i = 0; i < 4; ++i) {
        auto* option = radio(QStringLiteral("Option3(%1)").arg(i), basisTexts.at(i), colours);
        basisGroup->addButton(option);
        colourBasis_[static_cast<std::size_t>(i)] = option;
        colourGrid->addWidget(option, i, 0, 1, 6);
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateLevelInputs();
        });
    }
    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<std::size_t>(i);
        lower_[at] = numberBox(QStringLiteral("Text1(%1)").arg(i), colours);
        upper_[at] = numberBox(QStringLiteral("Text2(%1)").arg(i), colours);
        swatch_[at] = new QLabel(colours);
        swatch_[at]->setObjectName(QStringLiteral("Shape1(%1)").arg(i));
        swatch_[at]->setFixedSize(28, 16);
        swatch_[at]->setFrameShape(QFrame::Box);
        swatch_[at]->setAutoFillBackground(true);
        colourButton_[at] = new QPushButton(QStringLiteral("色"), colours);
        colourButton_[at]->setObjectName(QStringLiteral("Command2(%1)").arg(i));
        colourButton_[at]->setAutoDefault(false);
        connect(colourButton_[at], &QPushButton::clicked, this, [this, i] { chooseColour(i); });
        const int row = 4 + i;
        colourGrid->addWidget(lower_[at], row, 0);
        colourGrid->addWidget(new QLabel(QStringLiteral("以上"), colours), row, 1);
        colourGrid->addWidget(upper_[at], row, 2);
        colourGrid->addWidget(new QLabel(QStringLiteral("未満"), colours), row, 3);
        colourGrid->addWidget(swatch_[at], row, 4);
        colourGrid->addWidget(colourButton_[at], row, 5);
    }

    // OK and キャンセル.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setToolTip(QStringLiteral("レポートタイプ選択後ここをクリック"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("Command3"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { acceptOptions(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(types);
    left->addWidget(items);
    left->addWidget(data);
    left->addWidget(colours);
    auto* right = new QVBoxLayout;
    right->addWidget(kind);
    right->addWidget(chart);
    right->addWidget(load);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
}

void ReportOptionsDialog::load()
{
    const AppSettings& s = state_.settings;
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize hint = sizeHint();
        move(area.center() - QPoint(hint.width() / 2, hint.height() / 2));
    }
    graphKind_[state_.graphKind != 0 ? 1 : 0]->setChecked(true);
    showNd_->setChecked(s.Nd値表示);
    showQa_->setChecked(s.Qa値表示);
    showQu_->setChecked(s.qu値表示);
    printItem_[0]->setChecked(s.標高);
    printItem_[1]->setChecked(s.標高差);
    printItem_[2]->setChecked(s.地下水位);
    printItem_[3]->setChecked(s.記事);
    if (s.グラフ表示 == u"0" || s.グラフ表示 == u"1" || s.グラフ表示 == u"2")
        graphData_[static_cast<std::size_t>(s.グラフ表示.toInt())]->setChecked(true);
    pointsPerPage_->setText(numberText(s.Nd値グラフ同時表示数));
    maxDepth_->setText(numberText(s.Max深度));
    (s.SI深度表記 == u"0" ? loadKg_ : loadKn_)->setChecked(true);
    const double basis = numtext::leadingNumber(s.グラフの色の選定基準);
    colourBasis_[basis >= 0 && basis <= 3 ? static_cast<std::size_t>(basis) : 0]->setChecked(true);
    const std::array<QString, 3> lowers{s.Level1_0, s.Level2_0, s.Level3_0};
    const std::array<QString, 3> uppers{s.Level1_1, s.Level2_1, s.Level3_1};
    const std::array<QString, 3> colours{s.Level1_Color, s.Level2_Color, s.Level3_Color};
    for (std::size_t i = 0; i < 3; ++i) {
        lower_[i]->setText(lowers[i]);
        upper_[i]->setText(uppers[i]);
        swatchColour_[i] = colourFromText(colours[i]);
        paintSwatch(static_cast<int>(i));
    }
    SetRepType(s.レポートタイプ >= 0 && s.レポートタイプ <= 2 ? s.レポートタイプ : 0);
    const double chartType = numtext::leadingNumber(s.PRType3Type);
    chartValue_[chartType >= 0 && chartType <= 3 ? static_cast<std::size_t>(chartType) : 0]->setChecked(true);
    fullScale_[0]->setText(s.PRType3NMax);
    fullScale_[1]->setText(s.PRType3qaMax);
    fullScale_[2]->setText(s.PRType3quMax);
    fullScale_[3]->setText(s.PRType3MvMax);
    updateLevelInputs();
}

void ReportOptionsDialog::SetRepType(int index)
{
    for (std::size_t i = 0; i < 3; ++i) {
        picture_[i]->setFrameShape(QFrame::NoFrame);
        QPalette palette = typeLabel_[i]->palette();
        palette.setColor(QPalette::WindowText, this->palette().color(QPalette::ButtonText));
        typeLabel_[i]->setPalette(palette);
    }
    if (index < 0 || index > 2)
        return;
    picture_[static_cast<std::size_t>(index)]->setFrameShape(QFrame::Box);
    picture_[static_cast<std::size_t>(index)]->setLineWidth(1);
    QPalette palette = typeLabel_[static_cast<std::size_t>(index)]->palette();
    palette.setColor(QPalette::WindowText, toQColor(Red));
    typeLabel_[static_cast<std::size_t>(index)]->setPalette(palette);
    repType_ = index;
}

void ReportOptionsDialog::updateLevelInputs()
{
    const bool byLevel = !colourBasis_[0]->isChecked();
    for (std::size_t i = 0; i < 3; ++i) {
        lower_[i]->setEnabled(byLevel);
        upper_[i]->setEnabled(byLevel);
        colourButton_[i]->setEnabled(byLevel);
    }
}

void ReportOptionsDialog::paintSwatch(int level)
{
    QLabel* swatch = swatch_[static_cast<std::size_t>(level)];
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, toQColor(swatchColour_[static_cast<std::size_t>(level)]));
    swatch->setPalette(palette);
}

void ReportOptionsDialog::chooseColour(int level)
{
    const auto at = static_cast<std::size_t>(level);
    std::optional<unsigned> chosen;
    if (pick_) {
        chosen = pick_(swatchColour_[at]);
    } else {
        const QColor colour = QColorDialog::getColor(toQColor(swatchColour_[at]), this);
        if (colour.isValid())
            chosen = fromQColor(colour);
    }
    if (!chosen)
        return;
    swatchColour_[at] = *chosen;
    paintSwatch(level);
}

bool ReportOptionsDialog::checkLeaving(QLineEdit* box)
{
    const auto blank = [](const QLineEdit* b) { return b->text().trimmed().isEmpty(); };
    const auto numericOrBlank = [&](const QLineEdit* b) { return blank(b) || numtext::isNumeric(b->text()); };
    for (std::size_t i = 0; i < 3; ++i) {
        if (box == lower_[i] || box == upper_[i]) {
            if (!numericOrBlank(box)) {
                ui_.showMessage(QStringLiteral("ここには数字以外入力できません。"), MessageIcon::Exclamation);
                return false;
            }
            const QLineEdit* other = box == lower_[i] ? upper_[i] : lower_[i];
            if (!blank(other) && valueOf(lower_[i]) >= valueOf(upper_[i])) {
                ui_.showMessage(QStringLiteral("範囲の設定が間違っています。"), MessageIcon::Exclamation);
                return true;
            }
            // The levels stay contiguous: an upper bound starts the next level.
            if (box == upper_[i] && i + 1 < 3)
                lower_[i + 1]->setText(upper_[i]->text());
            return true;
        }
    }
    static const std::array<QString, 4> names{QStringLiteral("Nd値(棒グラフのメモリの最大値)"),
                                              QStringLiteral("qa値(棒グラフのメモリの最大値)"),
                                              QStringLiteral("qu値(棒グラフのメモリの最大値)"),
                                              QStringLiteral("Mv値(棒グラフのメモリの最大値)")};
    for (std::size_t i = 0; i < 4; ++i) {
        if (box == fullScale_[i] && valueOf(box) == 0) {
            ui_.showMessage(names[i] + QStringLiteral("は0を超える半角数字を入力してください。"),
                            MessageIcon::Exclamation);
            return false;
        }
    }
    if (box == maxDepth_ && valueOf(box) == 0) {
        ui_.showMessage(QStringLiteral("最大深度は0を超える半角数字を入力してください。"), MessageIcon::Exclamation);
        return false;
    }
    if (box == pointsPerPage_ && valueOf(box) == 0) {
        ui_.showMessage(QStringLiteral("表示ポイント数は1以上の半角数字を入力してください。"), MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool ReportOptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 3; ++i) {
        const QFrame* frame = picture_[static_cast<std::size_t>(i)];
        if (event->type() == QEvent::MouseButtonPress
            && (watched == frame || watched->parent() == frame)) {
            SetRepType(i);
            return false;
        }
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            const QChar c = text.at(0);
            if (!((c >= u'0' && c <= u'9') || c == u'.'))
                return true;   // refused
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (box == maxDepth_)
            SetRepType(2);
    } else if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        checking_ = true;
        const bool ok = checkLeaving(box);
        checking_ = false;
        if (!ok)
            QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
    }
    return QDialog::eventFilter(watched, event);
}

void ReportOptionsDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        SetRepType(repType_ >= 2 ? 0 : repType_ + 1);
        return;
    case Qt::Key_PageDown:
        SetRepType(repType_ <= 0 ? 2 : repType_ - 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        acceptOptions();
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

bool ReportOptionsDialog::acceptOptions()
{
    AppSettings& s = state_.settings;
    if (valueOf(fullScale_[0]) > 100) {
        ui_.showMessage(QStringLiteral("Nd値の最大は100までを入力して下さい。"), MessageIcon::Critical,
                        MessageButtons::Ok, MessageAnswer::Ok, QStringLiteral("Nd値入力エラー"));
        fullScale_[0]->setFocus();
        fullScale_[0]->selectAll();
        return false;
    }

    bool closes = false;
    if (valueOf(pointsPerPage_) != 0 && valueOf(maxDepth_) != 0 && valueOf(fullScale_[0]) != 0
        && valueOf(fullScale_[1]) != 0) {
        if (applyType_)
            applyType_(repType_);
        else
            s.レポートタイプ = static_cast<std::int16_t>(repType_);
        s.Nd値グラフ同時表示数 = valueOf(pointsPerPage_);
        s.Max深度 = valueOf(maxDepth_);
        s.Nd値の最大表示値 = static_cast<float>(valueOf(fullScale_[0]));
        if (refit_)
            refit_();

        state_.graphKind = graphKind_[0]->isChecked() ? 0 : 1;
        s.Nd値表示 = showNd_->isChecked();
        s.Qa値表示 = showQa_->isChecked();
        s.qu値表示 = showQu_->isChecked();
        s.標高 = printItem_[0]->isChecked();
        s.標高差 = printItem_[1]->isChecked();
        s.地下水位 = printItem_[2]->isChecked();
        s.記事 = printItem_[3]->isChecked();
        for (int i = 0; i < 3; ++i) {
            if (graphData_[static_cast<std::size_t>(i)]->isChecked())
                s.グラフ表示 = QString::number(i);
        }
        s.SI深度表記 = loadKg_->isChecked() ? QStringLiteral("0") : QStringLiteral("1");
        int basis = 0;
        for (int i = 0; i < 4; ++i) {
            if (colourBasis_[static_cast<std::size_t>(i)]->isChecked())
                basis = i;
        }
        s.グラフの色の選定基準 = QString::number(basis);
        s.Level1_Color = colourToText(swatchColour_[0]);
        s.Level2_Color = colourToText(swatchColour_[1]);
        s.Level3_Color = colourToText(swatchColour_[2]);
        for (int i = 0; i < 4; ++i) {
            if (chartValue_[static_cast<std::size_t>(i)]->isChecked())
                s.PRType3Type = QString::number(i);
        }
        s.PRType3NMax = fullScale_[0]->text();
        s.PRType3qaMax = fullScale_[1]->text();
        s.PRType3quMax = fullScale_[2]->text();
        s.PRType3MvMax = fullScale_[3]->text();

        if (basis == 0) {
            closes = true;
        } else {
            const double l0 = valueOf(lower_[0]), u0 = valueOf(upper_[0]);
            const double l1 = valueOf(lower_[1]), u1 = valueOf(upper_[1]);
            const double l2 = valueOf(lower_[2]), u2 = valueOf(upper_[2]);
            if (l0 < u0 && u0 <= l1 && l1 < u1 && u1 <= l2 && l2 < u2) {
                s.Level1_0 = lower_[0]->text();
                s.Level1_1 = upper_[0]->text();
                s.Level2_0 = lower_[1]->text();
                s.Level2_1 = upper_[1]->text();
                s.Level3_0 = lower_[2]->text();
                s.Level3_1 = upper_[2]->text();
                closes = true;
            } else {
                ui_.showMessage(QStringLiteral("グラフの色の範囲の設定値が間違っています。"), MessageIcon::Exclamation);
            }
        }
    } else {
        ui_.showMessage(ZeroOrBlank, MessageIcon::Exclamation);
        if (valueOf(pointsPerPage_) == 0)
            pointsPerPage_->setText(numberText(s.Nd値グラフ同時表示数));
        if (valueOf(maxDepth_) == 0)
            maxDepth_->setText(numberText(s.Max深度));
        const std::array<QString, 4> stored{s.PRType3NMax, s.PRType3qaMax, s.PRType3quMax, s.PRType3MvMax};
        for (std::size_t i = 0; i < 4; ++i) {
            if (valueOf(fullScale_[i]) == 0)
                fullScale_[i]->setText(stored[i]);
        }
    }

    static const std::array<QString, 3> dataNames{QStringLiteral("Nd"), QStringLiteral("Qa"), QStringLiteral("Mv")};
    if (graphDataClicked_ >= 0 && graphDataClicked_ < 3)
        state_.graphDataName = dataNames[static_cast<std::size_t>(graphDataClicked_)];
    try {
        writeGraphTypeFile(s.ini位置, state_);
    } catch (const Failure& failure) {
        ReportError(failure, ErrorContext{ui_, state_, false});
    }

    if (closes)
        accept();
    return closes;
}

} // namespace vortan::report
