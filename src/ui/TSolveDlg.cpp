#include "ui/TSolveDlg.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace zg {

namespace {
constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 10;
constexpr int kStartSpeed = 5;
/// The toolkit counts angles in sixteenths of a degree.
constexpr int kFullCircle = 360 * 16;
constexpr int kTopAngle = 90 * 16;
} // namespace

PieGauge::PieGauge(QWidget* parent) : QWidget(parent) {
    setMinimumSize(48, 48);
}

void PieGauge::setPercent(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent != m_percent) {
        m_percent = percent;
        update();
    }
}

void PieGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRect circle((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(circle);
    painter.setBrush(Qt::blue);
    if (m_percent >= 100) {
        painter.drawEllipse(circle);
    } else if (m_percent > 0) {
        // Clockwise from twelve o'clock.
        painter.drawPie(circle, kTopAngle, -kFullCircle * m_percent / 100);
    }
    painter.setPen(m_percent >= 50 ? Qt::white : Qt::black);
    painter.drawText(circle, Qt::AlignCenter, QString::number(m_percent) + QLatin1Char('%'));
}

TSolveDlg::TSolveDlg(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SolveDlg"));
    setWindowTitle(QStringLiteral("Set speed"));
    setModal(false);

    m_speedBar = new QSlider(Qt::Horizontal, this);
    m_speedBar->setObjectName(QStringLiteral("SpeedBar"));
    m_speedBar->setRange(kMinSpeed, kMaxSpeed);
    m_speedBar->setValue(kStartSpeed);
    m_speedBar->setTickPosition(QSlider::TicksBelow);
    m_speedBar->setTickInterval(1);
    m_speedBar->setPageStep(1);
    m_speedBar->setMinimumWidth(140);

    m_gauge = new PieGauge(this);
    m_gauge->setObjectName(QStringLiteral("SolveGauge"));
    m_gauge->setToolTip(QStringLiteral("Percentage complete"));

    m_stop = new QPushButton(QStringLiteral("Stop!"), this);
    m_stop->setObjectName(QStringLiteral("StopBtn"));
    m_stop->setDefault(true);
    connect(m_stop, &QPushButton::clicked, this, &QDialog::close);

    auto* row = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(m_speedBar);
    left->addStretch(1);
    left->addWidget(m_stop, 0, Qt::AlignLeft);
    row->addLayout(left, 1);
    row->addWidget(m_gauge);
    setLayout(row);
    adjustSize();
}

int TSolveDlg::speed() const {
    return m_speedBar->value();
}

void TSolveDlg::setPercent(int percent) {
    m_gauge->setPercent(percent);
}

void TSolveDlg::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    emit stopped();
}

void TSolveDlg::hideEvent(QHideEvent* event) {
    // Escape hides a dialog without a close event.
    QDialog::hideEvent(event);
    emit stopped();
}

} // namespace zg
