#pragma once

namespace ponderix::bench {

// Measures the time a piece of work takes on its own: wall time less the time
// the thread sat ready to run while other processes had the processors. Waits
// for the disk still count, as they should for a save; a busy machine, which
// would stretch the processor-bound side of a ratio far more than the disk-
// bound side, does not. Where the kernel keeps no scheduler statistics, this
// is plain wall time.
class OwnTimer final {
public:
    OwnTimer();
    double elapsedSeconds() const;

private:
    long long m_wallStartNs;
    long long m_queuedStartNs;
};

} // namespace ponderix::bench
