// The wait cursor steps aside while a modal dialog or message waits for the user: the
// application's override cursors are lifted for the lifetime of a ModalCursorLift and put back,
// in their order, when it ends.
#pragma once

#include <QCursor>

#include <vector>

namespace xui {

class ModalCursorLift {
public:
    ModalCursorLift();
    ~ModalCursorLift();
    ModalCursorLift(const ModalCursorLift&) = delete;
    ModalCursorLift& operator=(const ModalCursorLift&) = delete;

private:
    friend void EndWaitCursor();
    std::vector<QCursor> lifted_; // innermost first
    ModalCursorLift* outer_ = nullptr;
};

// The wait cursor on (an override cursor), and off again. Ended while a modal run has lifted
// it, it does not come back after the run.
void BeginWaitCursor();
void EndWaitCursor();

} // namespace xui
