#include "engine/Shot.h"

namespace capzel {

ShotResult shootPiece(GameContext& ctx, const ShotOptions& options) {
    ShotRun run(ctx, options);
    run.finish();
    return run.result();
}

}  // namespace capzel
