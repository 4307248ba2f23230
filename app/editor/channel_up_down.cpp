#include "app/editor/channel_up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "core/image/channel_record.h"

namespace norvik {

ChannelUpDown::ChannelUpDown(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        b->setFixedWidth(18);
        layout->addWidget(b);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("UDChannelGUI_Up"));
    m_down->setObjectName(QStringLiteral("UDChannelGUI_Down"));
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

int ChannelUpDown::wrapped(int value) {
    return ((value - 1) % kChannelCount + kChannelCount) % kChannelCount + 1;
}

void ChannelUpDown::setValue(int value) {
    value = wrapped(value);
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged(value);
}

void ChannelUpDown::stepBy(int steps) {
    setValue(m_value + steps);
}

} // namespace norvik
