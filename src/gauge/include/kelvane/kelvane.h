/*
 * Kelvane: the component model of the speedometer control library, as a C ABI.
 *
 * A host loads libkelvane.so at run time (dlopen), resolves the four entry
 * points by name (dlsym) and talks to the objects they hand out through the
 * function tables below. Nothing else is exported from the library.
 *
 * Result codes follow the component-model convention: 0 (KV_S_OK) is success
 * and "yes", 1 (KV_S_FALSE) is "no", a negative 32-bit code is an error.
 *
 * Objects are reference counted: every pointer handed out carries one
 * reference, which the host gives back with Release.
 *
 * Registration: DllRegisterServer writes one record per control class into
 * the per-user registry of controls,
 *     $XDG_DATA_HOME/kelvane/controls/{CLASS-ID}.control
 * ($XDG_DATA_HOME defaults to ~/.local/share), as "Key=Value" lines:
 *     ClassId={3F419ABE-33B1-48C1-B301-E5134ADF8782}
 *     Name=ctlSpmeter
 *     Library=/absolute/path/of/libkelvane.so
 * DllUnregisterServer removes that record again.
 *
 * Threads: every call is made on the host's GUI thread, after the host has
 * created its QApplication (the control is a Qt 6 Widgets window).
 */
#ifndef KELVANE_KELVANE_H
#define KELVANE_KELVANE_H

#include <stdint.h>

#if defined(__GNUC__)
#define KV_EXPORT __attribute__((visibility("default")))
#else
#define KV_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t KvResult;

#define KV_S_OK ((KvResult)0)
#define KV_S_FALSE ((KvResult)1)
#define KV_E_UNEXPECTED ((KvResult)0x8000FFFF)
#define KV_E_NOINTERFACE ((KvResult)0x80004002)
#define KV_E_POINTER ((KvResult)0x80004003)
#define KV_E_FAIL ((KvResult)0x80004005)
#define KV_E_OUTOFMEMORY ((KvResult)0x8007000E)
#define KV_E_INVALIDARG ((KvResult)0x80070057)
#define KV_E_INSUFFICIENT_BUFFER ((KvResult)0x8007007A)
#define KV_CLASS_E_NOAGGREGATION ((KvResult)0x80040110)
#define KV_CLASS_E_CLASSNOTAVAILABLE ((KvResult)0x80040111)
#define KV_SELFREG_E_CLASS ((KvResult)0x80040201)
/* A property set that divides by a maximum of 0. */
#define KV_CTL_E_DIVISIONBYZERO ((KvResult)0x800A000B)

#define KV_SUCCEEDED(r) ((KvResult)(r) >= 0)
#define KV_FAILED(r) ((KvResult)(r) < 0)

typedef struct KvGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} KvGuid;

/* Every interface begins with these three functions. */
typedef struct KvUnknown KvUnknown;
typedef struct KvUnknownVtbl {
    KvResult (*QueryInterface)(KvUnknown *self, const KvGuid *iid, void **object);
    uint32_t (*AddRef)(KvUnknown *self);
    uint32_t (*Release)(KvUnknown *self);
} KvUnknownVtbl;
struct KvUnknown {
    const KvUnknownVtbl *vtbl;
};

typedef struct KvClassFactory KvClassFactory;
typedef struct KvClassFactoryVtbl {
    KvResult (*QueryInterface)(KvClassFactory *self, const KvGuid *iid, void **object);
    uint32_t (*AddRef)(KvClassFactory *self);
    uint32_t (*Release)(KvClassFactory *self);
    /* outer must be NULL (no aggregation); iid is KV_IID_Unknown or KV_IID_Spmeter.
     * Fails with KV_E_UNEXPECTED when the host has no QApplication. */
    KvResult (*CreateInstance)(KvClassFactory *self, KvUnknown *outer, const KvGuid *iid,
                               void **object);
    /* lock != 0 keeps the library loaded (DllCanUnloadNow answers no); 0 undoes one lock. */
    KvResult (*LockServer)(KvClassFactory *self, int32_t lock);
} KvClassFactoryVtbl;
struct KvClassFactory {
    const KvClassFactoryVtbl *vtbl;
};

/* The MouseDown event: Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl,
 * 4 Alt; X and Y in twips, relative to the part of the control that was pressed. */
typedef void (*KvMouseDownFn)(void *context, int16_t Button, int16_t Shift, float X, float Y);

/* The ctlSpmeter control. Strings are UTF-8. A string getter writes the text
 * and a terminating NUL into buffer when capacity allows, else returns
 * KV_E_INSUFFICIENT_BUFFER; it always stores the text's length in bytes
 * (without the NUL) in *length when length is not NULL, so (NULL, 0, &n)
 * asks for the size. Geometry is in twips (1440 to the inch, 15 to a pixel). */
typedef struct KvSpmeter KvSpmeter;
typedef struct KvSpmeterVtbl {
    KvResult (*QueryInterface)(KvSpmeter *self, const KvGuid *iid, void **object);
    uint32_t (*AddRef)(KvSpmeter *self);
    uint32_t (*Release)(KvSpmeter *self);

    KvResult (*get_MaxValue)(KvSpmeter *self, int32_t *value);
    KvResult (*put_MaxValue)(KvSpmeter *self, int32_t value);
    KvResult (*get_SpeedometerCaption)(KvSpmeter *self, char *buffer, uint32_t capacity,
                                       uint32_t *length);
    KvResult (*put_SpeedometerCaption)(KvSpmeter *self, const char *text);
    KvResult (*get_ActiveSpeed_line)(KvSpmeter *self, double *value);
    /* Fails with KV_CTL_E_DIVISIONBYZERO while the maximum is 0 (the value is
     * stored, the needle stays), KV_E_INVALIDARG for NaN and minus infinity. */
    KvResult (*put_ActiveSpeed_line)(KvSpmeter *self, double value);
    KvResult (*get_NumericSpeed)(KvSpmeter *self, char *buffer, uint32_t capacity,
                                 uint32_t *length);
    KvResult (*put_NumericSpeed)(KvSpmeter *self, const char *text);
    KvResult (*get_Threshold0_line)(KvSpmeter *self, double *value);
    /* Fails like put_ActiveSpeed_line. */
    KvResult (*put_Threshold0_line)(KvSpmeter *self, double value);

    /* Connects a MouseDown handler; *cookie identifies it for Unadvise. */
    KvResult (*AdviseMouseDown)(KvSpmeter *self, KvMouseDownFn handler, void *context,
                                uint32_t *cookie);
    KvResult (*Unadvise)(KvSpmeter *self, uint32_t cookie);

    /* The control's window, a QWidget * of the Qt 6 the library was built
     * against. The control owns it (the host may reparent it or put it in a
     * layout) and deletes it on its last Release; fails with KV_E_UNEXPECTED
     * once the host has deleted it. */
    KvResult (*GetWindow)(KvSpmeter *self, void **widget);
    /* The control keeps its fixed size whatever is asked: 1815 x 1770 twips. */
    KvResult (*SetExtent)(KvSpmeter *self, int32_t width, int32_t height);
    KvResult (*GetExtent)(KvSpmeter *self, int32_t *width, int32_t *height);
} KvSpmeterVtbl;
struct KvSpmeter {
    const KvSpmeterVtbl *vtbl;
};

/* The four entry points, resolved by name. */
KV_EXPORT KvResult DllRegisterServer(void);
KV_EXPORT KvResult DllUnregisterServer(void);
/* clsid KV_CLSID_ctlSpmeter and iid KV_IID_ClassFactory (or KV_IID_Unknown) give
 * the class factory; any other class id fails with KV_CLASS_E_CLASSNOTAVAILABLE. */
KV_EXPORT KvResult DllGetClassObject(const KvGuid *clsid, const KvGuid *iid, void **object);
/* KV_S_OK while no control (nor its window) is alive and no factory lock is held. */
KV_EXPORT KvResult DllCanUnloadNow(void);

typedef KvResult (*KvDllRegisterServerFn)(void);
typedef KvResult (*KvDllUnregisterServerFn)(void);
typedef KvResult (*KvDllGetClassObjectFn)(const KvGuid *clsid, const KvGuid *iid, void **object);
typedef KvResult (*KvDllCanUnloadNowFn)(void);

#ifdef __cplusplus
} /* extern "C" */
#define KV_GUID_CONST static constexpr
#elif defined(__GNUC__)
#define KV_GUID_CONST static const __attribute__((unused))
#else
#define KV_GUID_CONST static const
#endif

/* {EB98D593-F005-4E2A-B66C-A5426FF63C08} */
KV_GUID_CONST KvGuid KV_IID_Unknown = {
    0xEB98D593, 0xF005, 0x4E2A, {0xB6, 0x6C, 0xA5, 0x42, 0x6F, 0xF6, 0x3C, 0x08}};
/* {9515394B-A75D-41B6-B181-189263C64A84} */
KV_GUID_CONST KvGuid KV_IID_ClassFactory = {
    0x9515394B, 0xA75D, 0x41B6, {0xB1, 0x81, 0x18, 0x92, 0x63, 0xC6, 0x4A, 0x84}};
/* {AD68090D-CDBF-4F03-BE91-B97EE37A3633} */
KV_GUID_CONST KvGuid KV_IID_Spmeter = {
    0xAD68090D, 0xCDBF, 0x4F03, {0xBE, 0x91, 0xB9, 0x7E, 0xE3, 0x7A, 0x36, 0x33}};
/* {3F419ABE-33B1-48C1-B301-E5134ADF8782}, registered as "ctlSpmeter" */
KV_GUID_CONST KvGuid KV_CLSID_ctlSpmeter = {
    0x3F419ABE, 0x33B1, 0x48C1, {0xB3, 0x01, 0xE5, 0x13, 0x4A, 0xDF, 0x87, 0x82}};

#endif /* KELVANE_KELVANE_H */
