#include "jet/session/jet_file_session.h"

#include "jet/session/engine_words.h"

namespace platform {

JetFileSession::JetFileSession(const std::string& path, std::unique_ptr<jet::LockedFile> file,
                               std::unique_ptr<jet::Database> database)
    : file_(std::move(file)), database_(std::move(database)), writes_(*database_, *file_, path) {}

std::unique_ptr<JetFileSession> JetFileSession::open(const std::string& path,
                                                     const std::u16string& password) {
    try {
        auto file = jet::LockedFile::open(path, kLockTimeout);
        jet::PageStore pages(file->reader());
        if (!jet::acceptsPassword(pages.header(), password)) {
            throw EngineFailure(invalidPasswordWords());
        }
        auto database = std::make_unique<jet::Database>(std::move(pages));
        return std::unique_ptr<JetFileSession>(
            new JetFileSession(path, std::move(file), std::move(database)));
    } catch (const jet::ReadError& error) {
        throw EngineFailure(readErrorWords(error, path));
    } catch (const jet::WriteError& error) {
        throw EngineFailure(writeErrorWords(error, path));
    }
}

} // namespace platform
