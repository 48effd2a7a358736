#include "control_object.h"

#include <QApplication>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "registry.h"
#include "server_lifetime.h"
#include "speedometer.h"
#include "spmeter_widget.h"
#include "surface_layout.h"

namespace kelvane {

namespace {

KvResult resultOf(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::DivisionByZero: return KV_CTL_E_DIVISIONBYZERO;
    case ErrorKind::InvalidArgument: return KV_E_INVALIDARG;
    }
    return KV_E_FAIL;
}

// Every call from the host ends here: no exception crosses the C boundary.
template <class F>
KvResult guarded(F&& f) noexcept
{
    try {
        f();
        return KV_S_OK;
    } catch (const GaugeError& e) {
        return resultOf(e.kind());
    } catch (const std::bad_alloc&) {
        return KV_E_OUTOFMEMORY;
    } catch (...) {
        return KV_E_FAIL;
    }
}

KvResult copyOut(const std::string& text, char* buffer, std::uint32_t capacity,
                 std::uint32_t* length)
{
    if (length) *length = static_cast<std::uint32_t>(text.size());
    if (!buffer) return capacity == 0 && length ? KV_S_OK : KV_E_POINTER;
    if (capacity < text.size() + 1) return KV_E_INSUFFICIENT_BUFFER;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return KV_S_OK;
}

class Control final : public KvSpmeter {
public:
    Control() : model_(std::make_shared<Speedometer>())
    {
        vtbl = &kVtbl;
        // Parentless until the host places it; tracked, since a host parent may delete it.
        widget_ = new SpmeterWidget(model_);
        widget_->setMouseDownHandler(
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                raiseMouseDown(button, shift, x, y);
            });
        server::objectCreated();
    }

    ~Control()
    {
        if (widget_) {
            widget_->setMouseDownHandler({});
            // Released from inside its own MouseDown: the window is still on the stack.
            if (widget_->isDispatching()) widget_->deleteLater();
            else delete widget_.data();
        }
        server::objectDestroyed();
    }

    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    static Control* self(KvSpmeter* p) { return static_cast<Control*>(p); }

private:
    void refresh()
    {
        if (widget_) widget_->update();
    }

    void raiseMouseDown(std::int16_t button, std::int16_t shift, float x, float y)
    {
        // A handler may unadvise or release: dispatch over a copy, alive throughout.
        addRef();
        const std::vector<Sink> sinks = sinks_;
        for (const Sink& sink : sinks) sink.handler(sink.context, button, shift, x, y);
        release();
    }

    std::uint32_t addRef() { return ++refs_; }
    std::uint32_t release()
    {
        const std::uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    struct Sink {
        std::uint32_t cookie;
        KvMouseDownFn handler;
        void* context;
    };

    std::atomic<std::uint32_t> refs_{1};
    std::shared_ptr<Speedometer> model_;
    QPointer<SpmeterWidget> widget_;
    std::vector<Sink> sinks_;
    std::uint32_t nextCookie_ = 1;

    // The function table.
    static KvResult QueryInterface(KvSpmeter* p, const KvGuid* iid, void** object)
    {
        if (!object) return KV_E_POINTER;
        *object = nullptr;
        if (!iid) return KV_E_POINTER;
        if (!sameGuid(*iid, KV_IID_Unknown) && !sameGuid(*iid, KV_IID_Spmeter))
            return KV_E_NOINTERFACE;
        self(p)->addRef();
        *object = p;
        return KV_S_OK;
    }
    static std::uint32_t AddRef(KvSpmeter* p) { return self(p)->addRef(); }
    static std::uint32_t Release(KvSpmeter* p) { return self(p)->release(); }

    static KvResult get_MaxValue(KvSpmeter* p, std::int32_t* value)
    {
        if (!value) return KV_E_POINTER;
        *value = self(p)->model_->MaxValue();
        return KV_S_OK;
    }
    static KvResult put_MaxValue(KvSpmeter* p, std::int32_t value)
    {
        return self(p)->set([&](Speedometer& m) { m.setMaxValue(value); });
    }
    static KvResult get_SpeedometerCaption(KvSpmeter* p, char* buffer, std::uint32_t capacity,
                                           std::uint32_t* length)
    {
        return copyOut(self(p)->model_->SpeedometerCaption(), buffer, capacity, length);
    }
    static KvResult put_SpeedometerCaption(KvSpmeter* p, const char* text)
    {
        if (!text) return KV_E_POINTER;
        return self(p)->set([&](Speedometer& m) { m.setSpeedometerCaption(text); });
    }
    static KvResult get_ActiveSpeed_line(KvSpmeter* p, double* value)
    {
        if (!value) return KV_E_POINTER;
        *value = self(p)->model_->ActiveSpeed_line();
        return KV_S_OK;
    }
    static KvResult put_ActiveSpeed_line(KvSpmeter* p, double value)
    {
        return self(p)->set([&](Speedometer& m) { m.setActiveSpeed_line(value); });
    }
    static KvResult get_NumericSpeed(KvSpmeter* p, char* buffer, std::uint32_t capacity,
                                     std::uint32_t* length)
    {
        return copyOut(self(p)->model_->NumericSpeed(), buffer, capacity, length);
    }
    static KvResult put_NumericSpeed(KvSpmeter* p, const char* text)
    {
        if (!text) return KV_E_POINTER;
        return self(p)->set([&](Speedometer& m) { m.setNumericSpeed(text); });
    }
    static KvResult get_Threshold0_line(KvSpmeter* p, double* value)
    {
        if (!value) return KV_E_POINTER;
        *value = self(p)->model_->Threshold0_line();
        return KV_S_OK;
    }
    static KvResult put_Threshold0_line(KvSpmeter* p, double value)
    {
        return self(p)->set([&](Speedometer& m) { m.setThreshold0_line(value); });
    }

    static KvResult AdviseMouseDown(KvSpmeter* p, KvMouseDownFn handler, void* context,
                                    std::uint32_t* cookie)
    {
        if (!handler || !cookie) return KV_E_POINTER;
        Control* c = self(p);
        return guarded([&] {
            c->sinks_.push_back({c->nextCookie_, handler, context});
            *cookie = c->nextCookie_++;
        });
    }
    static KvResult Unadvise(KvSpmeter* p, std::uint32_t cookie)
    {
        auto& sinks = self(p)->sinks_;
        for (auto it = sinks.begin(); it != sinks.end(); ++it) {
            if (it->cookie == cookie) {
                sinks.erase(it);
                return KV_S_OK;
            }
        }
        return KV_E_INVALIDARG;
    }

    static KvResult GetWindow(KvSpmeter* p, void** widget)
    {
        if (!widget) return KV_E_POINTER;
        *widget = self(p)->widget_.data();
        return *widget ? KV_S_OK : KV_E_UNEXPECTED;
    }
    static KvResult SetExtent(KvSpmeter* p, std::int32_t, std::int32_t)
    {
        // The surface is fixed: a resize only puts it back.
        Control* c = self(p);
        if (c->widget_) c->widget_->resize(c->widget_->minimumSize());
        return KV_S_OK;
    }
    static KvResult GetExtent(KvSpmeter* p, std::int32_t* width, std::int32_t* height)
    {
        if (!width || !height) return KV_E_POINTER;
        Control* c = self(p);
        if (c->widget_) {
            *width = c->widget_->width() * kTwipsPerPixel;
            *height = c->widget_->height() * kTwipsPerPixel;
        } else {
            *width = kSurfaceWidth;
            *height = kSurfaceHeight;
        }
        return KV_S_OK;
    }

    template <class F>
    KvResult set(F&& change) noexcept
    {
        const KvResult result = guarded([&] { change(*model_); });
        refresh();
        return result;
    }

    static const KvSpmeterVtbl kVtbl;
};

const KvSpmeterVtbl Control::kVtbl = {
    &Control::QueryInterface,  &Control::AddRef,
    &Control::Release,         &Control::get_MaxValue,
    &Control::put_MaxValue,    &Control::get_SpeedometerCaption,
    &Control::put_SpeedometerCaption, &Control::get_ActiveSpeed_line,
    &Control::put_ActiveSpeed_line,   &Control::get_NumericSpeed,
    &Control::put_NumericSpeed,       &Control::get_Threshold0_line,
    &Control::put_Threshold0_line,    &Control::AdviseMouseDown,
    &Control::Unadvise,               &Control::GetWindow,
    &Control::SetExtent,              &Control::GetExtent,
};

}  // namespace

KvResult createControl(const KvGuid* iid, void** object)
{
    if (!object) return KV_E_POINTER;
    *object = nullptr;
    if (!iid) return KV_E_POINTER;
    // The control is a window: it needs the host's widget application and thread.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        QThread::currentThread() != QCoreApplication::instance()->thread())
        return KV_E_UNEXPECTED;
    std::unique_ptr<Control> made;
    try {
        made = std::make_unique<Control>();
    } catch (const std::bad_alloc&) {
        return KV_E_OUTOFMEMORY;
    } catch (...) {
        return KV_E_FAIL;
    }
    // From here on its reference count owns it.
    Control* control = made.release();
    const KvResult result = control->vtbl->QueryInterface(control, iid, object);
    control->vtbl->Release(control);
    return result;
}

}  // namespace kelvane
