#include "process/inherited_handles.h"

#include <algorithm>

InheritedHandles::InheritedHandles(std::initializer_list<HANDLE> handles) {
    for (HANDLE handle : handles)
        if (handle && handle != INVALID_HANDLE_VALUE && std::find(handles_.begin(), handles_.end(), handle) == handles_.end())
            handles_.push_back(handle);
    startup_.StartupInfo.cb = sizeof(startup_);
    if (handles_.empty()) return;
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    attributes_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
    startup_.lpAttributeList = list;
    ready_ = UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                       handles_.size() * sizeof(HANDLE), nullptr, nullptr) != FALSE;
}

InheritedHandles::~InheritedHandles() {
    if (startup_.lpAttributeList) DeleteProcThreadAttributeList(startup_.lpAttributeList);
}
