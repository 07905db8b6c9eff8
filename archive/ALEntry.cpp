#include "ALEntry.h"

namespace {
const std::wstring kNoName;
}

ALEntry::ALEntry(ALEntryGroup& group, std::unique_ptr<ALStorage> storageObject,
                 std::unique_ptr<ALCompressor> compressorEngine, std::unique_ptr<ALDecompressor> decompressorEngine,
                 std::unique_ptr<ALCryptoEngine> crypto)
    : storage(std::move(storageObject)), compressor(std::move(compressorEngine)),
      decompressor(std::move(decompressorEngine)), cryptoEngine(std::move(crypto)), next_(this), previous_(this),
      group_(&group) {
    if (cryptoEngine) flags |= AL_ENTRY_ENCRYPTED;
    if (storage) {
        ALEntry& head = group.head_;
        previous_ = head.previous_;
        next_ = &head;
        head.previous_->next_ = this;
        head.previous_ = this;
    }
}

ALEntry::ALEntry(ALEntryGroup& group) : flags(0), next_(this), previous_(this), group_(&group) {}

ALEntry::~ALEntry() { Unlink(); }

void ALEntry::Unlink() noexcept {
    previous_->next_ = next_;
    next_->previous_ = previous_;
    next_ = previous_ = this;
}

ALEntry* ALEntry::GetNextEntry() const noexcept {
    return next_ == &group_->head_ ? nullptr : next_;
}

const std::wstring& ALEntry::Name() const noexcept { return storage ? storage->mName.GetName() : kNoName; }

ALEntryGroup::ALEntryGroup(ALMonitor* monitor, const ALEngineKit& kit)
    : head_(*this), monitor_(monitor), kit_(kit) {}

ALEntryGroup::~ALEntryGroup() {
    while (head_.next_ != &head_) delete head_.next_;
}

ALEntry* ALEntryGroup::GetFirstEntry() const noexcept {
    return head_.next_ == &head_ ? nullptr : head_.next_;
}

int32_t ALEntryGroup::GetCount() const noexcept {
    int32_t n = 0;
    for (ALEntry* e = GetFirstEntry(); e != nullptr; e = e->GetNextEntry()) ++n;
    return n;
}
