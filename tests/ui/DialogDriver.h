#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <functional>

// Drives the window's modal dialogs as a user would: waits for one to show, types into its
// fields by object name and presses its buttons.
namespace finplan::dialogdriver {

template <class T> T* child(QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}

inline void type(QWidget& d, const char* field, const QString& text) {
    auto* edit = child<QLineEdit>(d, field);
    edit->clear();
    QTest::keyClicks(edit, text);
}

inline void press(QWidget& d, QDialogButtonBox::StandardButton which) {
    QTest::mouseClick(child<QDialogButtonBox>(d, "buttons")->button(which), Qt::LeftButton);
}

// Runs `act` on the next modal dialog to show, a nested one included; the code that opens it
// waits in its exec meanwhile. The wait belongs to `owner`, so deleting the owner ends it. A
// dialog still open after `act` is cancelled, so that a failed check cannot hang the test.
inline void whenDialogOpens(QObject& owner, std::function<void(QDialog&)> act,
                            QStringList* seen = nullptr) {
    QWidget* before = QApplication::activeModalWidget();
    auto* poll = new QTimer(&owner);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, &owner, [poll, act, before, seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog == before)
            return;
        poll->stop();
        poll->deleteLater();
        if (seen)
            *seen << dialog->windowTitle();
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start();
}

} // namespace finplan::dialogdriver
