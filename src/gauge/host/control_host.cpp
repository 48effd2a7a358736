#include "control_host.h"

#include <dlfcn.h>

#include <cstdio>
#include <stdexcept>

namespace kelvane::host {

namespace {

template <class Fn>
Fn resolve(void* handle, const char* name)
{
    void* symbol = dlsym(handle, name);
    if (!symbol) throw std::runtime_error(std::string("missing entry point ") + name);
    return reinterpret_cast<Fn>(symbol);
}

}  // namespace

ControlLibrary::ControlLibrary(const std::string& path)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        throw std::runtime_error(why ? why : ("cannot load " + path).c_str());
    }
    try {
        register_ = resolve<KvDllRegisterServerFn>(handle_, "DllRegisterServer");
        unregister_ = resolve<KvDllUnregisterServerFn>(handle_, "DllUnregisterServer");
        getClassObject_ = resolve<KvDllGetClassObjectFn>(handle_, "DllGetClassObject");
        canUnloadNow_ = resolve<KvDllCanUnloadNowFn>(handle_, "DllCanUnloadNow");
    } catch (...) {
        dlclose(handle_);
        throw;
    }
}

ControlLibrary::~ControlLibrary()
{
    // A library still in use stays loaded for the rest of the process.
    if (canUnloadNow_() == KV_S_OK) dlclose(handle_);
}

KvResult ControlLibrary::createSpmeter(const KvGuid& clsid, KvSpmeter** control) const
{
    if (!control) return KV_E_POINTER;
    *control = nullptr;
    void* object = nullptr;
    KvResult result = DllGetClassObject(clsid, KV_IID_ClassFactory, &object);
    if (KV_FAILED(result)) return result;
    auto* factory = static_cast<KvClassFactory*>(object);
    result = factory->vtbl->CreateInstance(factory, nullptr, &KV_IID_Spmeter, &object);
    factory->vtbl->Release(factory);
    if (KV_SUCCEEDED(result)) *control = static_cast<KvSpmeter*>(object);
    return result;
}

std::string resultText(KvResult result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
    return text;
}

}  // namespace kelvane::host
