#include "StubState.h"

StubState& Stub() {
    static StubState state;
    return state;
}
