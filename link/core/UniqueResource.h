#pragma once
// A system resource that closes itself: the owner logic of UniqueFd and
// UniqueHandle, each system's close and invalid values in its Traits.

#include <utility>

namespace zrn {

// Traits: `Value`, `None()` (what an empty owner holds), `Valid(value)` and
// `Close(value)`.
template <typename Traits> class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() = default;
    explicit UniqueResource(Value value) : value(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Value get() const { return value; }
    bool valid() const { return Traits::Valid(value); }
    explicit operator bool() const { return valid(); }
    Value release() { return std::exchange(value, Traits::None()); }
    void reset(Value replacement = Traits::None()) {
        if (valid())
            Traits::Close(value);
        value = replacement;
    }

private:
    Value value = Traits::None();
};

} // namespace zrn
