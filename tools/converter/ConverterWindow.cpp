#include "tools/converter/ConverterWindow.h"

#include "controls/FlatButton.h"
#include "settings/LabelIds.h"
#include "tools/converter/ConverterFile.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

namespace quillory {

namespace {

constexpr QSize kTemplateSize{299, 185};
constexpr int kButtonShade = 30;
const QColor kArrowColour(0x00, 0x80, 0x00);

struct KindRow {
    TextKind kind;
    const char* text;
};
constexpr KindRow kKindRows[] = {{TextKind::GB, "GB"},
                                 {TextKind::Big5, "Big5"},
                                 {TextKind::Pinyin, "Pinyin"},
                                 {TextKind::Jyutping, "Jyutping"},
                                 {TextKind::Html, "HTML (Unicode)"}};

struct VariantRow {
    ChineseVariant variant;
    LabelId label;
    const char* fallback;
};
constexpr VariantRow kVariantRows[] = {{ChineseVariant::Standard, kVariantStandardLabel, "Standard"},
                                       {ChineseVariant::Taiwan, kVariantTaiwanLabel, "Taiwan"},
                                       {ChineseVariant::HongKong, kVariantHongKongLabel, "Hong Kong"}};

// The template's rectangles of the controls of each box, upper first.
struct BoxTemplate {
    ControlId textBox;
    ControlId firstKind;
    int kindTop;
    ControlId clear, copy, save;
    int clearTop, copyTop;
};
constexpr BoxTemplate kBoxTemplates[] = {
    {kConverterUpperBox, kConverterUpperKindFirst, 8, kButtonClear1, kButtonCopy1, kButtonSave1, 79, 79},
    {kConverterLowerBox, kConverterLowerKindFirst, 116, kButtonClear2, kButtonCopy2, kButtonSave2, 95, 94}};
constexpr int kKindStep = 14;

// An arrow pointing down or up, drawn for any size.
QIcon ArrowIcon(bool down) {
    QPixmap picture(40, 54);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(14, 2);
    arrow.lineTo(26, 2);
    arrow.lineTo(26, 30);
    arrow.lineTo(38, 30);
    arrow.lineTo(20, 52);
    arrow.lineTo(2, 30);
    arrow.lineTo(14, 30);
    arrow.closeSubpath();
    if (!down) {
        painter.translate(0, 54);
        painter.scale(1, -1);
    }
    painter.fillPath(arrow, kArrowColour);
    painter.end();
    return QIcon(picture);
}

QFont KindFont(const ConverterEnvironment& env, TextKind kind) {
    const FontSlot slot = kind == TextKind::GB     ? FontSlot::Jianti
                          : kind == TextKind::Big5 ? FontSlot::Fanti
                                                   : FontSlot::English;
    return env.fonts ? env.fonts(slot) : QFont();
}

} // namespace

ConverterWindow::ConverterWindow(ConverterEnvironment environment, QWidget* parent)
    : QWidget(parent, Qt::Window), env_(std::move(environment)),
      converter_(std::make_shared<TextConverter>(env_.recordStorePath)),
      layout_(kTemplateSize, kEnlargedDialogScale) {
    if (!env_.saveFile) {
        env_.saveFile = [this](TextKind kind) { return AskSaveFileName(this, kind); };
    }
    CreateControls();
    // Start: GB above, HTML below, each box in its kind's font.
    kindButton(ConverterBox::Upper, TextKind::GB)->setChecked(true);
    kindButton(ConverterBox::Lower, TextKind::Html)->setChecked(true);
    ApplyKindFont(ConverterBox::Upper);
    ApplyKindFont(ConverterBox::Lower);
    Relabel();
    const QSize size = layout_.pixelSize(font());
    setFixedSize(size);
    layout_.Apply(font(), size);
    UpdateArrowsAndTitle();
}

ConverterWindow::~ConverterWindow() {
    if (worker_) {
        worker_->wait();
        delete worker_;
    }
}

FlatButton* ConverterWindow::AddButton(ControlId id, DialogRect rect) {
    auto* button = new FlatButton(this);
    Place(id, button, rect);
    button->setFaceColour(Qt::white);
    button->setTextColour(Qt::black);
    button->setShade(kButtonShade);
    return button;
}

void ConverterWindow::Place(ControlId id, QAbstractButton* button, DialogRect rect) {
    layout_.Add(button, rect);
    buttons_.emplace_back(id, button);
}

void ConverterWindow::CreateControls() {
    for (const ConverterBox box : {ConverterBox::Upper, ConverterBox::Lower}) {
        const BoxTemplate& t = kBoxTemplates[index(box)];
        auto* edit = new QPlainTextEdit(this);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setObjectName(box == ConverterBox::Upper ? QStringLiteral("upperBox")
                                                       : QStringLiteral("lowerBox"));
        boxes_[index(box)] = edit;
        layout_.Add(edit, {0, box == ConverterBox::Upper ? 1 : 108, 222, 77});

        auto* group = new QButtonGroup(this);
        kindGroups_[index(box)] = group;
        int top = t.kindTop;
        for (const KindRow& row : kKindRows) {
            auto* radio = new QRadioButton(QString::fromLatin1(row.text), this);
            group->addButton(radio, static_cast<int>(row.kind));
            // Big5 leaves room for the choice of traditional forms beside it.
            layout_.Add(radio, {230, top, row.kind == TextKind::Big5 ? 30 : 66, 10},
                        DialogLayout::kFitHeight);
            top += kKindStep;
        }
        connect(group, &QButtonGroup::idClicked, this,
                [this, box](int id) { ChooseKind(box, static_cast<TextKind>(id)); });

        auto* variants = new QComboBox(this);
        variants_[index(box)] = variants;
        for (const VariantRow& row : kVariantRows) {
            variants->addItem(QString::fromLatin1(row.fallback), static_cast<int>(row.variant));
        }
        layout_.Add(variants, {257, t.kindTop + kKindStep - 2, 42, 12}, DialogLayout::kFitHeight);

        AddButton(t.clear, {88, t.clearTop, 39, 14});
        AddButton(t.copy, {134, t.copyTop, 39, 14});
        AddButton(t.save, {179, t.copyTop, 39, 14});
        connect(button(t.clear), &QAbstractButton::clicked, this, [this, box] { ClearBox(box); });
        connect(button(t.copy), &QAbstractButton::clicked, this, [this, box] { CopyBox(box); });
        connect(button(t.save), &QAbstractButton::clicked, this, [this, box] { SaveBox(box); });
    }
    for (const bool down : {true, false}) {
        FlatButton* arrow = AddButton(down ? kButtonDownArrow : kButtonUpArrow, {down ? 1 : 47, 80, 20, 27});
        arrow->setPicture(ArrowIcon(down));
        arrow->setIconSize(QSize(20, 27));
        arrows_[down ? 0 : 1] = arrow;
        connect(arrow, &QAbstractButton::clicked, this, [this, down] { down ? ConvertDown() : ConvertUp(); });
    }
    auto* hide = new QPushButton(this);
    Place(kConverterHide, hide, {238, 87, 33, 13});
    connect(hide, &QAbstractButton::clicked, this, &QWidget::hide);
}

QRadioButton* ConverterWindow::kindButton(ConverterBox box, TextKind kind) const {
    return static_cast<QRadioButton*>(kindGroups_[index(box)]->button(static_cast<int>(kind)));
}

ChineseVariant ConverterWindow::variant(ConverterBox box) const {
    return static_cast<ChineseVariant>(variants_[index(box)]->currentData().toInt());
}

QAbstractButton* ConverterWindow::button(ControlId id) const {
    for (const auto& [buttonId, button] : buttons_) {
        if (buttonId == id) {
            return button;
        }
    }
    return nullptr;
}

void ConverterWindow::LabelButton(QAbstractButton* target, ControlId id, const QString& fallback) {
    const auto label = env_.labels ? env_.labels(id) : std::nullopt;
    target->setText(label ? label->text : fallback);
    target->setFont(label ? label->font : KindFont(env_, TextKind::Html));
}

void ConverterWindow::Relabel() {
    const std::pair<ControlId, const char*> texts[] = {
        {kButtonClear1, "Clear"}, {kButtonClear2, "Clear"}, {kButtonCopy1, "Copy"},  {kButtonCopy2, "Copy"},
        {kButtonSave1, "Save"},   {kButtonSave2, "Save"},   {kConverterHide, "Hide"}};
    for (const auto& [id, fallback] : texts) {
        LabelButton(button(id), id, QString::fromLatin1(fallback));
    }
    for (QComboBox* variants : variants_) {
        for (int i = 0; i < variants->count(); ++i) {
            const VariantRow& row = kVariantRows[i];
            const auto label = env_.labels ? env_.labels(row.label) : std::nullopt;
            variants->setItemText(i, label ? label->text : QString::fromLatin1(row.fallback));
            if (label && i == 0) {
                variants->setFont(label->font);
            }
        }
    }
}

void ConverterWindow::showEvent(QShowEvent* event) {
    // The language or the fonts may have changed while the window was hidden.
    Relabel();
    ApplyKindFont(ConverterBox::Upper);
    ApplyKindFont(ConverterBox::Lower);
    QWidget::showEvent(event);
}

void ConverterWindow::ApplyKindFont(ConverterBox box) {
    boxes_[index(box)]->setFont(KindFont(env_, kinds_[index(box)]));
}

void ConverterWindow::ChooseKind(ConverterBox box, TextKind kind) {
    kinds_[index(box)] = kind;
    if (QRadioButton* radio = kindButton(box, kind); !radio->isChecked()) {
        radio->setChecked(true);
    }
    ApplyKindFont(box);
    UpdateArrowsAndTitle();
}

void ConverterWindow::UpdateArrowsAndTitle() {
    const TextKind upper = kinds_[0];
    const TextKind lower = kinds_[1];
    const ArrowStates arrows = ArrowsFor(upper, lower);
    arrows_[0]->setEnabled(arrows.down && !worker_);
    arrows_[1]->setEnabled(arrows.up && !worker_);
    setWindowTitle(ConverterTitle(upper, lower));
}

void ConverterWindow::ConvertDown() {
    Convert(ConverterBox::Upper, ConverterBox::Lower);
}

void ConverterWindow::ConvertUp() {
    Convert(ConverterBox::Lower, ConverterBox::Upper);
}

void ConverterWindow::Convert(ConverterBox source, ConverterBox target) {
    const TextKind from = kinds_[index(source)];
    const TextKind to = kinds_[index(target)];
    if (worker_ || !IsOffered(from, to)) {
        return;
    }
    // The Big5 side says which traditional forms are meant.
    const ChineseVariant chosen = variant(to == TextKind::Big5 ? target : source);
    auto result = std::make_shared<ConversionResult>();
    worker_ = QThread::create([converter = converter_, text = boxes_[index(source)]->toPlainText(), from, to,
                               chosen, result] { *result = converter->ConvertText(text, from, to, chosen); });
    connect(worker_, &QThread::finished, this, [this, target, result] {
        worker_->deleteLater();
        worker_ = nullptr;
        QGuiApplication::restoreOverrideCursor();
        if (result->ok()) {
            boxes_[index(target)]->setPlainText(result->text);
        } else if (env_.reporter) {
            env_.reporter->showMessage(result->error);
        }
        UpdateArrowsAndTitle();
        emit conversionFinished();
    });
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    UpdateArrowsAndTitle();
    worker_->start();
}

void ConverterWindow::ClearBox(ConverterBox box) {
    boxes_[index(box)]->clear();
}

void ConverterWindow::CopyBox(ConverterBox box) {
    QGuiApplication::clipboard()->setText(boxes_[index(box)]->toPlainText());
}

void ConverterWindow::SaveBox(ConverterBox box) {
    const QString path = env_.saveFile(kinds_[index(box)]);
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!SaveUtf8(path, boxes_[index(box)]->toPlainText(), &error) && env_.reporter) {
        env_.reporter->showMessage(QStringLiteral("Cannot save %1: %2").arg(path, error));
    }
}

} // namespace quillory
