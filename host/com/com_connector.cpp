#include "host/com/com_connector.h"

#include "common/win32/utf16.h"
#include "host/automation_error.h"
#include "host/com/com_dispatch.h"
#include "host/com/com_error.h"

#include <windows.h>

namespace kastrel::host::com {
namespace {

[[noreturn]] void cannot_create(std::string_view class_name, HRESULT result) {
    throw AutomationError(ErrorKind::CannotCreate, std::string(class_name),
                          code_and_message(result));
}

} // namespace

ComConnector::ComConnector(std::chrono::milliseconds unattended)
    : thread_(CallThread::start(unattended)) {}

ComConnector::~ComConnector() {
    thread_->stop();
}

Object ComConnector::create_object(std::string_view class_name) {
    return thread_->run([thread = thread_, class_name = std::string(class_name)] {
        const std::wstring name = common::to_utf16(class_name);
        CLSID class_id{};
        HRESULT result = CLSIDFromProgID(name.c_str(), &class_id);
        if (FAILED(result))
            cannot_create(class_name, result);
        common::com::ComPtr<IDispatch> object;
        result = CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IDispatch, reinterpret_cast<void**>(object.put()));
        if (FAILED(result))
            cannot_create(class_name, result);
        return make_object(thread, std::move(object));
    });
}

Object ComConnector::get_object(std::string_view /*path*/, std::string_view class_name) {
    return create_object(class_name);
}

bool ComConnector::window_exists(std::string_view window_class) {
    const std::string name(window_class);
    return FindWindowA(name.c_str(), nullptr) != nullptr;
}

} // namespace kastrel::host::com
