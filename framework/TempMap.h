// Temporary wrapper objects for handles that have no object of their own.
// One object per handle, kept until Clear.
#pragma once

#include <map>
#include <memory>

template <typename T, typename H> class CTempMap {
public:
    // The wrapper of h, made on first use with init(object, h).
    template <typename Init> T* Get(H h, Init init) {
        std::unique_ptr<T>& object = m_objects[h];
        if (!object) {
            object = std::make_unique<T>();
            init(*object, h);
        }
        return object.get();
    }
    template <typename Each> void Clear(Each each) {
        for (auto& entry : m_objects)
            each(*entry.second);
        m_objects.clear();
    }

private:
    std::map<H, std::unique_ptr<T>> m_objects;
};
