// The waits of the protocols: a query's reply pause, the analog board's conversion time.
#pragma once

namespace brova {

// Sleeps the calling thread for `seconds`, truncated to whole milliseconds.
void pause(double seconds);

}  // namespace brova
