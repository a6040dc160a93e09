#include "tests/testkit/scripted_services.h"

int ScriptedMessageBoxes::show(const QString& prompt, int style, const QString& title) {
    shown_.push_back({prompt, style, title});
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    if ((style & 0x0F) == platform::msgbox::YesNo) {
        ++unscripted_;
        return platform::msgbox::ResultNo;
    }
    return platform::msgbox::ResultOk;
}
