#ifndef MODALMESSAGEBOX_H
#define MODALMESSAGEBOX_H

#include <QString>

// The modal "Programfeil" box: OK only, under the application's title. While it is open the
// caller waits and window events (socket events included) go on being delivered.
class ModalMessageBox
{
public:
    virtual ~ModalMessageBox() = default;
    virtual void showMessage(const QString &text) = 0;
};

#endif // MODALMESSAGEBOX_H
