#pragma once

// The extraction flow: makes the working directory, unpacks the payload into it and starts the
// launcher. Returns 1 on success and 0 on failure, which it has already reported.
int ExtractFile();
