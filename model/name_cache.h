#pragma once
// Values kept by the address of a name's bytes. The faces of one load share
// their material name's bytes (model/shared_text.h), so a long name is
// hashed or compared once, not once per face. For one pass over a model
// that does not change meanwhile: a name changed or freed since it was kept
// could give another name's value.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>

namespace facetor {

template <class Value> class NameCache {
  public:
    // Null when these bytes were not met before.
    const Value* find(const std::string& name) const
    {
        const auto it = by_address_.find(name.data());
        return it != by_address_.end() && it->second.size == name.size() ? &it->second.value
                                                                         : nullptr;
    }
    void keep(const std::string& name, Value value)
    {
        by_address_[name.data()] = {name.size(), std::move(value)};
    }

  private:
    struct Entry {
        std::size_t size;
        Value value;
    };
    std::unordered_map<const char*, Entry> by_address_;
};

} // namespace facetor
