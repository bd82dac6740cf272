#include "ui/dialogs/EcgDeviceDlg.h"

#include "app/ECGFramework.h"
#include "device/DevicePorts.h"
#include "device/workflow/DeviceTimeText.h"
#include "device/workflow/ImportStart.h"
#include "platform/ResourceText.h"
#include "ui/Artwork.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DeviceWriteExecDlg.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/UIFontTable.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <ctime>

namespace ui {

namespace {

const char kTemplateCaption[] = "機器設定";
const char kTemplateModel[] = "VTQ-7700S";
const char kTemplateBattery[] = "電池残量：";
const char kTemplateClock[] = "機器時刻：";
const char kTemplateFilter[] = "フィルター：";
const char kTemplateBatteryWarning[] = "電池交換してください。";
const char kTemplateDeviceClock[] = "不明";
const char kTemplateClockCheck[] = "パソコンの時刻に合わせる";
const char kTemplateClockNote[] = "チェックを入れると、機器の時刻をパソコンの時刻に合わせます。";
const char kTemplateFilterNote[] =
    "フィルターをオンにすると、記録される波形の雑音が少なくなります。";
const char kTemplateOn[] = "オン";
const char kTemplateWrite[] = "機器書き込み";
const char kTemplateCancel[] = "キャンセル";
// The language files translate the "on" text with the dialog; "off" and
// the clock warning are texts of their own.
constexpr unsigned kTextFilterOff = 62402;
constexpr unsigned kTextClockNotSet = 62403;

constexpr unsigned kArtBattery1 = 331;
constexpr unsigned kArtBattery2 = 332;
constexpr unsigned kArtBattery3 = 333;
constexpr unsigned kArtDevice = 335;
constexpr unsigned kArtFilterOn = 336;
constexpr unsigned kArtFilterOff = 337;
const QSize kBatterySize{48, 24};
const QSize kDeviceSize{128, 80};
const QSize kFilterSize{64, 32};

// Filter value written when the person turns the filter on.
constexpr int kFilterOn = 2;
// The clocks show minutes; the device check needs no finer step either.
constexpr int kTickMs = 1000;
constexpr int kMargin = 24;
constexpr int kNoteWidth = 380;

const QColor kWarningColour{255, 0, 0};

void SetTextColour(QLabel* label, bool warning) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, warning ? kWarningColour : QColor(Qt::black));
    label->setPalette(palette);
}

QLabel* MakePicture(QWidget* parent, unsigned controlId, QSize size) {
    auto* picture = new QLabel(parent);
    SetControlId(picture, controlId);
    picture->setFixedSize(size);
    return picture;
}

} // namespace

CEcgDeviceDlg::CEcgDeviceDlg(app::CECGFramework& framework, std::string port, QWidget* parent)
    : QDialog(parent), m_framework(framework), m_strPort(std::move(port)) {
    BuildControls();
}

CEcgDeviceDlg::~CEcgDeviceDlg() = default;

void CEcgDeviceDlg::BuildControls() {
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    SetWhiteBackground(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin - 4, kMargin, 16);
    column->setSpacing(10);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* heading = new QHBoxLayout;
    m_pDevicePicture = MakePicture(this, kIdDevicePicture, kDeviceSize);
    heading->addWidget(m_pDevicePicture);
    heading->addSpacing(12);
    heading->addWidget(MakeStatic(this, kIdModelName, QString::fromUtf8(kTemplateModel)), 1,
                       Qt::AlignVCenter);
    column->addLayout(heading);
    column->addSpacing(4);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1);
    const auto label = [this](unsigned id, const char* text) {
        QLabel* item = MakeStatic(this, id, QString::fromUtf8(text));
        item->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return item;
    };
    const auto note = [this](unsigned id, const char* text) {
        QLabel* item = MakeStatic(this, id, QString::fromUtf8(text));
        item->setWordWrap(true);
        item->setFixedWidth(kNoteWidth);
        QPalette palette = item->palette();
        palette.setColor(QPalette::WindowText, QColor(96, 96, 96));
        item->setPalette(palette);
        return item;
    };

    grid->addWidget(label(kIdBatteryLabel, kTemplateBattery), 0, 0);
    auto* battery = new QHBoxLayout;
    battery->setSpacing(10);
    m_pBatteryPicture = MakePicture(this, kIdBatteryPicture, kBatterySize);
    battery->addWidget(m_pBatteryPicture);
    m_pBatteryWarning =
        MakeStatic(this, kIdBatteryWarning, QString::fromUtf8(kTemplateBatteryWarning));
    battery->addWidget(m_pBatteryWarning, 1);
    grid->addLayout(battery, 0, 1);

    grid->addWidget(label(kIdClockLabel, kTemplateClock), 1, 0);
    m_pDeviceClock = MakeStatic(this, kIdDeviceClock, QString::fromUtf8(kTemplateDeviceClock));
    grid->addWidget(m_pDeviceClock, 1, 1);
    auto* computer = new QHBoxLayout;
    computer->setSpacing(12);
    m_pClockCheck = new QCheckBox(QString::fromUtf8(kTemplateClockCheck), this);
    SetControlId(m_pClockCheck, kIdClockCheck);
    m_pClockCheck->setTristate(true);
    computer->addWidget(m_pClockCheck);
    m_pComputerClock = MakeStatic(this, kIdComputerClock, QString());
    computer->addWidget(m_pComputerClock, 1);
    grid->addLayout(computer, 2, 1);
    grid->addWidget(note(kIdClockNote, kTemplateClockNote), 3, 1);

    grid->addWidget(label(kIdFilterLabel, kTemplateFilter), 4, 0);
    auto* filter = new QHBoxLayout;
    filter->setSpacing(10);
    m_pFilterButton = new QPushButton(this);
    SetControlId(m_pFilterButton, kIdFilterButton);
    m_pFilterButton->setFlat(true);
    m_pFilterButton->setIconSize(kFilterSize);
    m_pFilterButton->setFixedSize(kFilterSize + QSize(8, 8));
    m_pFilterButton->setAutoDefault(false);
    m_pFilterButton->setCursor(Qt::PointingHandCursor);
    filter->addWidget(m_pFilterButton);
    m_pFilterText = MakeStatic(this, kIdFilterText, QString::fromUtf8(kTemplateOn));
    filter->addWidget(m_pFilterText, 1);
    grid->addLayout(filter, 4, 1);
    grid->addWidget(note(kIdFilterNote, kTemplateFilterNote), 5, 1);
    column->addLayout(grid);

    m_pWrite = new CCommonButton(QString::fromUtf8(kTemplateWrite), this);
    SetControlId(m_pWrite, kIdWriteButton);
    m_pWrite->setDefault(true);
    m_pCancel = new CCommonButton(QString::fromUtf8(kTemplateCancel), this);
    SetControlId(m_pCancel, kIdCancelButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pWrite);
    buttons->addWidget(m_pCancel);
    column->addSpacing(8);
    column->addLayout(buttons);

    connect(m_pClockCheck, &QCheckBox::clicked, this, &CEcgDeviceDlg::OnClockCheck);
    connect(m_pFilterButton, &QPushButton::clicked, this, &CEcgDeviceDlg::OnFilterButton);
    connect(m_pWrite, &QPushButton::clicked, this, &CEcgDeviceDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CEcgDeviceDlg::reject);

    m_pTick = new QTimer(this);
    m_pTick->setInterval(kTickMs);
    connect(m_pTick, &QTimer::timeout, this, [this] {
        RefreshClocks();
        CheckDevicePresent();
    });

    InitDialog();
}

void CEcgDeviceDlg::InitDialog() {
    TranslateDialog(this, kTemplateId);
    ApplyUIFont(this, 1, true);
    ApplyUIFont(m_pWrite, 4, false);
    ApplyUIFont(m_pCancel, 4, false);
    StylePrimary(m_pWrite);
    StyleSecondary(m_pCancel);

    m_strOnText = m_pFilterText->text();
    m_strOffText = ToQt(platform::LoadText(kTextFilterOff));

    const device::DeviceState& state = m_framework.GetDeviceState();
    m_nBattery = state.m_battery;
    ShowBattery();
    m_nFilter = state.m_filter < 0 ? kFilterOn : state.m_filter;
    ShowFilter();
    m_bClockWarn = state.m_clockNotSet;
    m_pClockCheck->setCheckState(m_bClockWarn ? Qt::PartiallyChecked : Qt::Unchecked);
    m_nClockCheck = m_pClockCheck->checkState();
    m_pDevicePicture->setPixmap(ArtworkPixmap(kArtDevice, kDeviceSize, devicePixelRatioF()));
    RefreshClocks();
}

platform::IUserPrompts& CEcgDeviceDlg::Prompts() {
    return PickPrompts(m_pPrompts, m_framework.GetPrompts(), m_windowPrompts);
}

void CEcgDeviceDlg::ShowBattery() {
    unsigned art = kArtBattery1;
    switch (m_nBattery) {
    case 2:
        art = kArtBattery2;
        break;
    case 3:
        art = kArtBattery3;
        break;
    default:
        // A level the device should not report counts as the lowest, so
        // the person is told to replace the battery rather than nothing.
        m_nBattery = 1;
        break;
    }
    m_pBatteryPicture->setPixmap(ArtworkPixmap(art, kBatterySize, devicePixelRatioF()));
    if (m_nBattery != 1) {
        m_pBatteryWarning->clear();
    }
    SetTextColour(m_pBatteryWarning, m_nBattery == 1);
}

void CEcgDeviceDlg::ShowFilter() {
    const bool on = m_nFilter != 0;
    m_pFilterButton->setIcon(ArtworkIcon(on ? kArtFilterOn : kArtFilterOff, kFilterSize));
    m_pFilterText->setText(on ? m_strOnText : m_strOffText);
    m_pFilterButton->setAccessibleName(m_pFilterText->text());
}

void CEcgDeviceDlg::RefreshClocks() {
    const device::DeviceState& state = m_framework.GetDeviceState();
    if (state.m_clockNotSet) {
        m_bClockWarn = true;
    }
    if (m_bClockWarn) {
        m_pDeviceClock->setText(ToQt(platform::LoadText(kTextClockNotSet)));
    } else if (state.m_deviceClock != 0) {
        m_pDeviceClock->setText(ToQt(device::FormatDeviceTime(state.m_deviceClock)));
    }
    SetTextColour(m_pDeviceClock, m_bClockWarn);
    const std::time_t now = m_clock ? m_clock() : std::time(nullptr);
    m_pComputerClock->setText(ToQt(device::FormatDeviceTime(now)));
}

void CEcgDeviceDlg::OnClockCheck() {
    // An ordinary check box, except that the indeterminate state (the
    // device clock is not set) cannot be left: that clock must be written.
    if (m_nClockCheck == Qt::Checked) {
        m_pClockCheck->setCheckState(Qt::Unchecked);
    } else if (m_nClockCheck == Qt::PartiallyChecked) {
        m_pClockCheck->setCheckState(Qt::PartiallyChecked);
    } else {
        m_pClockCheck->setCheckState(Qt::Checked);
    }
    m_nClockCheck = m_pClockCheck->checkState();
    RefreshClocks();
}

void CEcgDeviceDlg::OnFilterButton() {
    m_nFilter = m_nFilter != 0 ? 0 : kFilterOn;
    ShowFilter();
}

void CEcgDeviceDlg::accept() {
    if (focusWidget() == m_pCancel) {
        m_pCancel->click();
        return;
    }
    OnWrite();
}

void CEcgDeviceDlg::reject() {
    done(platform::kIdCancel);
}

void CEcgDeviceDlg::OnWrite() {
    device::DeviceState& state = m_framework.GetDeviceState();
    state.m_clockNotSet = m_pClockCheck->checkState() != Qt::Unchecked;
    state.m_filter = m_nFilter;

    device::FindDevicePorts(m_ports);
    const std::optional<std::string> port = device::ChooseDevicePort(m_ports, Prompts());
    if (!port || !device::IsSerialPortName(*port)) {
        return;
    }
    // The write dialog owns the device now; its removal is its to report.
    m_bWriting = true;
    m_pTick->stop();
    CDeviceWriteExecDlg write(m_framework, this);
    write.SetPrompts(&Prompts());
    write.SetClock(m_clock);
    write.SetPort(*port);
    const int answer = write.DoModal();
    m_bWriting = false;
    done(answer == platform::kIdOk ? platform::kIdOk : platform::kIdCancel);
}

void CEcgDeviceDlg::CheckDevicePresent() {
    if (m_bWriting || !isVisible()) {
        return;
    }
    device::FindDevicePorts(m_ports);
    if (m_ports.empty()) {
        done(kIdDeviceGone);
    }
}

int CEcgDeviceDlg::DoModal() {
    m_pTick->start();
    const int answer = exec();
    m_pTick->stop();
    return answer;
}

} // namespace ui
