#include "ALEngineKit.h"

namespace {

template <class T>
void Append(std::vector<std::unique_ptr<T>>& family, std::unique_ptr<T> clone) {
    if (clone) family.push_back(std::move(clone));
}

template <class T>
std::unique_ptr<T> FirstClone(const std::vector<std::unique_ptr<T>>& family, int32_t type) {
    for (const auto& prototype : family) {
        if (auto clone = prototype->Clone(type)) return clone;
    }
    return nullptr;
}

}  // namespace

ALEngineKit::ALEngineKit(const ALEngineKit& other) { *this = other; }

ALEngineKit& ALEngineKit::operator=(const ALEngineKit& other) {
    if (this == &other) return *this;
    compressors_.clear();
    decompressors_.clear();
    storages_.clear();
    cryptoEngines_.clear();
    for (const auto& p : other.compressors_) Add(*p);
    for (const auto& p : other.decompressors_) Add(*p);
    for (const auto& p : other.storages_) Add(*p);
    for (const auto& p : other.cryptoEngines_) Add(*p);
    return *this;
}

ALEngineKit& ALEngineKit::Add(const ALCompressor& prototype) {
    Append(compressors_, prototype.Clone(AL_ENGINE_DEFAULT));
    return *this;
}

ALEngineKit& ALEngineKit::Add(const ALDecompressor& prototype) {
    Append(decompressors_, prototype.Clone(AL_ENGINE_DEFAULT));
    return *this;
}

ALEngineKit& ALEngineKit::Add(const ALStorage& prototype) {
    Append(storages_, prototype.Clone(std::wstring(), AL_STORAGE_DEFAULT));
    return *this;
}

ALEngineKit& ALEngineKit::Add(const ALCryptoEngine& prototype) {
    Append(cryptoEngines_, prototype.Clone(AL_ENGINE_DEFAULT));
    return *this;
}

std::unique_ptr<ALCompressor> ALEngineKit::CloneCompressor(int32_t type) const {
    return FirstClone(compressors_, type);
}

std::unique_ptr<ALDecompressor> ALEngineKit::CloneDecompressor(int32_t type) const {
    return FirstClone(decompressors_, type);
}

std::unique_ptr<ALStorage> ALEngineKit::CloneStorage(int32_t type) const {
    for (const auto& prototype : storages_) {
        if (auto clone = prototype->Clone(std::wstring(), type)) return clone;
    }
    return nullptr;
}

std::unique_ptr<ALCryptoEngine> ALEngineKit::CloneCryptoEngine(int32_t type) const {
    return FirstClone(cryptoEngines_, type);
}
