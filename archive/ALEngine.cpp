#include "ALEngine.h"

#include "ALStorage.h"

int32_t ALEngine::WriteEngineData(ALStorage& storage) { return storage.WriteInt16BE(0); }

int32_t ALEngine::ReadEngineData(ALStorage& storage) {
    uint16_t ignored = 0;
    return storage.ReadInt16BE(ignored);
}

int32_t ALEngine::OpenBoth(ALStorage& input, ALStorage& output, bool& openedInput, bool& openedOutput) {
    openedInput = openedOutput = false;
    if (!input.IsOpen()) {
        input.Open();
        openedInput = input.IsOpen();
    }
    if (!output.IsOpen()) {
        output.Create();
        openedOutput = output.IsOpen();
    }
    if (input.mStatus.Failed()) return mStatus = input.mStatus, mStatus.GetStatusCode();
    if (output.mStatus.Failed()) return mStatus = output.mStatus, mStatus.GetStatusCode();
    return AL_SUCCESS;
}

int32_t ALEngine::Finish(ALStorage& input, ALStorage& output, bool openedInput, bool openedOutput) {
    if (openedInput) input.Close();
    if (openedOutput) output.Close();
    if (input.mStatus.Failed()) mStatus = input.mStatus;
    else if (output.mStatus.Failed()) mStatus = output.mStatus;
    return mStatus.GetStatusCode();
}
