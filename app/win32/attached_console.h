#pragma once

#include "app/batch/batch_run.h"
#include "common/non_copyable.h"

#include <windows.h>

namespace kastrel::app::win32 {

// Standard output and standard error of the GUI-subsystem program: a handle
// the caller redirected (pipe, file, device) takes UTF-8; one that is not
// redirected goes to the console of the parent process, attached on first
// need, in UTF-16. Without either a text is dropped.
class AttachedConsole : public batch::Console, private common::NonCopyable {
public:
    AttachedConsole();
    ~AttachedConsole() override;

    void out(std::string_view line) override;
    void err(std::string_view line) override;

private:
    struct Stream {
        HANDLE handle = nullptr;
        bool console = false;
    };
    Stream stream(DWORD which);
    void write(const Stream& stream, std::string_view line);

    HANDLE console_ = INVALID_HANDLE_VALUE; // CONOUT$ of the parent's console
    bool attach_tried_ = false;
    bool attached_ = false;
    Stream out_;
    Stream err_;
};

} // namespace kastrel::app::win32
