#pragma once
// The prototypes from which the archive makes its engines and storage objects, looked up by
// type code: each prototype of a family is asked in order to clone itself for the type, and the
// first object returned wins. A null result means the kit has nothing for that type.
#include "ALEngine.h"
#include "ALStorage.h"

#include <memory>
#include <vector>

class ALEngineKit {
public:
    ALEngineKit() = default;
    // A kit from two prototypes of any family, each cloned with type -1, in argument order.
    template <class A, class B>
    ALEngineKit(const A& first, const B& second) {
        Add(first);
        Add(second);
    }
    // Copying clones every prototype with type -1.
    ALEngineKit(const ALEngineKit& other);
    ALEngineKit& operator=(const ALEngineKit& other);

    // Appends a clone (type -1) of the prototype to its family.
    ALEngineKit& Add(const ALCompressor& prototype);
    ALEngineKit& Add(const ALDecompressor& prototype);
    ALEngineKit& Add(const ALStorage& prototype);
    ALEngineKit& Add(const ALCryptoEngine& prototype);

    std::unique_ptr<ALCompressor> CloneCompressor(int32_t type) const;
    std::unique_ptr<ALDecompressor> CloneDecompressor(int32_t type) const;
    // A storage object with an empty name.
    std::unique_ptr<ALStorage> CloneStorage(int32_t type = AL_STORAGE_DEFAULT) const;
    std::unique_ptr<ALCryptoEngine> CloneCryptoEngine(int32_t type = AL_ENGINE_DEFAULT) const;

private:
    std::vector<std::unique_ptr<ALCompressor>> compressors_;
    std::vector<std::unique_ptr<ALDecompressor>> decompressors_;
    std::vector<std::unique_ptr<ALStorage>> storages_;
    std::vector<std::unique_ptr<ALCryptoEngine>> cryptoEngines_;
};
