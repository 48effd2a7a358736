// The library's four exported entry points and the class factory behind
// DllGetClassObject. They register, unregister and create; nothing more.
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "control_object.h"
#include "kelvane/kelvane.h"
#include "registry.h"
#include "server_lifetime.h"

namespace kelvane {

namespace {

constexpr const char* kControlName = "ctlSpmeter";

// Any object of this library tells dladdr which file the library was loaded from.
const char kAnchor = 0;

std::string libraryPath()
{
    Dl_info info{};
    if (dladdr(&kAnchor, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        throw std::runtime_error("cannot find the library's own path");
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(info.dli_fname, nullptr),
                                                            &std::free);
    if (real) return real.get();
    return std::filesystem::absolute(info.dli_fname).lexically_normal().string();
}

// One factory for the one class; it lives as long as the library, so its
// references are not counted. Only LockServer keeps the library loaded.
KvResult factoryQueryInterface(KvClassFactory* self, const KvGuid* iid, void** object)
{
    if (!object) return KV_E_POINTER;
    *object = nullptr;
    if (!iid) return KV_E_POINTER;
    if (!sameGuid(*iid, KV_IID_Unknown) && !sameGuid(*iid, KV_IID_ClassFactory))
        return KV_E_NOINTERFACE;
    *object = self;
    return KV_S_OK;
}
std::uint32_t factoryAddRef(KvClassFactory*) { return 2; }
std::uint32_t factoryRelease(KvClassFactory*) { return 1; }

KvResult factoryCreateInstance(KvClassFactory*, KvUnknown* outer, const KvGuid* iid, void** object)
{
    if (object) *object = nullptr;
    if (outer) return KV_CLASS_E_NOAGGREGATION;
    return createControl(iid, object);
}

KvResult factoryLockServer(KvClassFactory*, std::int32_t lock)
{
    if (lock) {
        server::lock();
        return KV_S_OK;
    }
    return server::unlock() ? KV_S_OK : KV_E_UNEXPECTED;
}

const KvClassFactoryVtbl kFactoryVtbl = {factoryQueryInterface, factoryAddRef, factoryRelease,
                                         factoryCreateInstance, factoryLockServer};
KvClassFactory factory{&kFactoryVtbl};

}  // namespace

}  // namespace kelvane

extern "C" {

KV_EXPORT KvResult DllRegisterServer(void)
{
    try {
        kelvane::writeRecord({KV_CLSID_ctlSpmeter, kelvane::kControlName, kelvane::libraryPath()});
        return KV_S_OK;
    } catch (...) {
        return KV_SELFREG_E_CLASS;
    }
}

KV_EXPORT KvResult DllUnregisterServer(void)
{
    try {
        kelvane::removeRecord(KV_CLSID_ctlSpmeter);
        return KV_S_OK;
    } catch (...) {
        return KV_SELFREG_E_CLASS;
    }
}

KV_EXPORT KvResult DllGetClassObject(const KvGuid* clsid, const KvGuid* iid, void** object)
{
    if (!object) return KV_E_POINTER;
    *object = nullptr;
    if (!clsid || !iid) return KV_E_POINTER;
    if (!kelvane::sameGuid(*clsid, KV_CLSID_ctlSpmeter)) return KV_CLASS_E_CLASSNOTAVAILABLE;
    return kelvane::factory.vtbl->QueryInterface(&kelvane::factory, iid, object);
}

KV_EXPORT KvResult DllCanUnloadNow(void)
{
    return kelvane::server::canUnload() ? KV_S_OK : KV_S_FALSE;
}

}  // extern "C"
