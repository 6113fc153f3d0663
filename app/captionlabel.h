#pragma once
// A caption that passes a click on to the control it stands for, as a label
// for a check box does.

#include <QLabel>

namespace trelvane {

class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};

}  // namespace trelvane
