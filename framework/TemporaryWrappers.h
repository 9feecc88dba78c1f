// Wrapper objects for handles that no object owns (FromHandle), one per handle, kept
// until the outermost modal loop waits again. Each wrapper lets go of its handle before
// it is deleted: the handle is not the wrapper's to destroy or to unsubclass.
#pragma once

#include <memory>
#include <unordered_map>

template <typename Handle, typename Object, Handle Object::*kHandleMember>
class TemporaryWrappers {
public:
    Object* For(Handle handle)
    {
        std::unique_ptr<Object>& wrapper = m_wrappers[handle];
        if (!wrapper) {
            wrapper = std::make_unique<Object>();
            (*wrapper).*kHandleMember = handle;
        }
        return wrapper.get();
    }

    void Clear()
    {
        for (auto& entry : m_wrappers) (*entry.second).*kHandleMember = nullptr;
        m_wrappers.clear();
    }

private:
    std::unordered_map<Handle, std::unique_ptr<Object>> m_wrappers;
};
