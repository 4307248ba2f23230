#pragma once

#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace norvik::test {

// Works the modal dialog of type D with `steps` once `open` has brought it up and it holds the
// focus (keys and clicks sent earlier would land in the window under it).
template <class D> void runModal(QObject* context, const std::function<void()>& open, std::function<void(D*)> steps) {
    bool ran = false;
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [&ran, poll, steps] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d || !d->isActiveWindow())
            return;
        poll->stop();
        ran = true;
        steps(d);
        poll->deleteLater();
    });
    poll->start(10);
    open();
    QTRY_VERIFY_WITH_TIMEOUT(ran, 5000);
}

} // namespace norvik::test
