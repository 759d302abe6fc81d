#pragma once

#include <QDialog>

class QSlider;
class QPushButton;

namespace zg {

/// A round gauge that fills clockwise from the top with blue as its percentage
/// grows, the percentage written in its middle.
class PieGauge : public QWidget {
    Q_OBJECT
public:
    explicit PieGauge(QWidget* parent = nullptr);
    int percent() const { return m_percent; }
    /// Shows `percent`, held to 0..100.
    void setPercent(int percent);
    QSize sizeHint() const override { return {64, 64}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
};

/// The auto-solve speed dialog "Set speed": a small tool window kept on top
/// with the speed track bar `SpeedBar` (1 to 10, starting at 5), the pie
/// gauge `SolveGauge` ("Percentage complete") and the "Stop!" button, which
/// closes it. Closing it by any means emits `stopped`.
class TSolveDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSolveDlg(QWidget* parent = nullptr);

    /// The speed chosen on the track bar, 1..10.
    int speed() const;
    /// Shows `percent` on the gauge.
    void setPercent(int percent);

    QSlider* speedBar() const { return m_speedBar; }
    PieGauge* solveGauge() const { return m_gauge; }
    QPushButton* stopButton() const { return m_stop; }

signals:
    /// The window was closed: by "Stop!", its close box, Escape or the program.
    void stopped();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QSlider* m_speedBar = nullptr;
    PieGauge* m_gauge = nullptr;
    QPushButton* m_stop = nullptr;
};

} // namespace zg
