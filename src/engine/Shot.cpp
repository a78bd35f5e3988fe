#include "engine/Shot.h"

namespace capzel {

ShotResult shootPiece(GameContext& ctx, std::int16_t strength, const ShotOptions& options) {
    ShotRun run(ctx, strength, options);
    run.finish();
    return run.result();
}

}  // namespace capzel
