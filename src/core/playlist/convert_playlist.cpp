#include "core/playlist/convert_playlist.h"

#include "core/files/file_system.h"
#include "core/playlist/playlist_folder.h"
#include "core/threads/bounded_queue.h"

#include <exception>
#include <thread>
#include <utility>
#include <vector>

namespace listora {
namespace {

using Rows = std::vector<PlaylistEntry>;

// The writing thread: it adds the rows handed to it, in order, until the
// queue is closed, and on a failure abandons the queue with it, so that the
// reading side hears of it at its next hand-over.
class RowWriter {
public:
    explicit RowWriter(PlaylistWriter& writer) : thread_([this, &writer] { run(writer); }) {}
    // A way out by an exception stops the writing without waiting for the
    // rows it no longer wants.
    ~RowWriter() {
        queue_.abandon();
        if (thread_.joinable()) thread_.join();
    }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void hand(Rows& rows) {
        if (!queue_.push(rows)) rethrowFailure();
    }

    // Waits until every row handed over is written.
    void finish() {
        queue_.close();
        thread_.join();
        rethrowFailure();
    }

private:
    void run(PlaylistWriter& writer) {
        try {
            for (Rows rows; queue_.pop(rows);) {
                for (const PlaylistEntry& row : rows)
                    if (hasFileName(row)) writer.add(row);
            }
        } catch (...) {
            queue_.abandon(std::current_exception());
        }
    }

    void rethrowFailure() const {
        if (const std::exception_ptr failure = queue_.failure()) std::rethrow_exception(failure);
    }

    BoundedQueue<Rows> queue_{2};
    std::thread thread_;  // last, so that it starts after the queue
};

}  // namespace

ConversionOutcome convertPlaylist(const PlaylistReaderPorts& ports, const std::string& in, const std::string& out,
                                  PathMode mode, HeaderPolicy header) {
    struct Refused {};
    const std::string outFolder = playlistFolder(ports.fs, out, ports.rules);
    try {
        writeFileInPiecesOrThrow(ports.fs, out, [&](ByteSink& sink) {
            const std::unique_ptr<PlaylistWriter> writer =
                makePlaylistWriter(formatOfPath(out), mode, outFolder, ports.rules, sink);
            RowWriter writing(*writer);
            const PlaylistPass read = readPlaylistInPieces(ports, in, header, [&](Rows& rows) {
                Rows piece = std::exchange(rows, {});
                writing.hand(piece);
            });
            // Thrown out of the writing, which then leaves no file.
            if (read.error) throw *read.error;
            if (read.refused) throw Refused{};
            writing.finish();
            writer->finish();
        });
    } catch (const Refused&) {
        return ConversionOutcome::Refused;
    }
    return ConversionOutcome::Written;
}

}  // namespace listora
