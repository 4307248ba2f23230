#include "app/options/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace norvik {

UpDown::UpDown(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (auto [button, arrow, direction] : {std::tuple{m_up, Qt::UpArrow, 1}, std::tuple{m_down, Qt::DownArrow, -1}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus); // the field keeps the keyboard
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        column->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, d = direction] { stepBy(d); });
    }
}

void UpDown::setRange(int minimum, int maximum, int step) {
    m_min = minimum;
    m_max = maximum;
    m_step = step;
    setValue(m_value);
}

void UpDown::setValue(int value) {
    m_value = qBound(m_min, value, m_max);
}

void UpDown::stepBy(int direction) {
    emit aboutToStep();
    int v = m_value + direction * m_step;
    if (v > m_max)
        v = m_wrap ? m_min : m_max;
    else if (v < m_min)
        v = m_wrap ? m_max : m_min;
    if (v == m_value)
        return;
    m_value = v;
    emit valueChanged(v);
}

} // namespace norvik
