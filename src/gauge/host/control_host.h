// The host's side of the component model: load a control library by path,
// reach its entry points, create a control through its class factory.
#pragma once

#include <string>

#include "kelvane/kelvane.h"

namespace kelvane::host {

class ControlLibrary {
public:
    // Loads the library and resolves the four entry points; throws
    // std::runtime_error when it cannot.
    explicit ControlLibrary(const std::string& path);
    // Unloads the library only when it says it can be unloaded.
    ~ControlLibrary();
    ControlLibrary(const ControlLibrary&) = delete;
    ControlLibrary& operator=(const ControlLibrary&) = delete;

    KvResult DllRegisterServer() const { return register_(); }
    KvResult DllUnregisterServer() const { return unregister_(); }
    KvResult DllGetClassObject(const KvGuid& clsid, const KvGuid& iid, void** object) const
    {
        return getClassObject_(&clsid, &iid, object);
    }
    KvResult DllCanUnloadNow() const { return canUnloadNow_(); }

    // Through the class's factory; *control is null on failure.
    KvResult createSpmeter(const KvGuid& clsid, KvSpmeter** control) const;

private:
    void* handle_ = nullptr;
    KvDllRegisterServerFn register_ = nullptr;
    KvDllUnregisterServerFn unregister_ = nullptr;
    KvDllGetClassObjectFn getClassObject_ = nullptr;
    KvDllCanUnloadNowFn canUnloadNow_ = nullptr;
};

// "0x80040111"
std::string resultText(KvResult result);

}  // namespace kelvane::host
