#pragma once

#include <functional>
#include <vector>

namespace volmara {

// A model publishes "something changed"; windows refresh from it.
class Observable {
public:
    using Handler = std::function<void()>;

    void subscribe(Handler handler) { handlers_.push_back(std::move(handler)); }
    void notify() const
    {
        for (const auto& h : handlers_)
            h();
    }

private:
    std::vector<Handler> handlers_;
};

} // namespace volmara
