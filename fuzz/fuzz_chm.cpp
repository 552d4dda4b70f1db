// Arbitrary bytes as a compiled-HTML help file: opening, listing, reading every page and parsing
// the contents and index must end without a crash, and whatever opens must serve its pages.
#include "help/chmfile.h"
#include "help/sitemap.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const int fd = memfd_create("fuzz_chm", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n <= 0)
            std::abort();
        written += static_cast<std::size_t>(n);
    }
    {
        vorlac::ChmFile file;
        const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
        if (file.open(path)) {
            if (file.error() != vorlac::ChmFile::Error::None)
                std::abort();
            for (const QString &page : file.pages()) {
                if (!file.contains(page))
                    std::abort();
                const std::optional<QByteArray> bytes = file.read(page);
                if (bytes && static_cast<quint64>(bytes->size()) > vorlac::ChmFile::kMaxObjectSize)
                    std::abort();
            }
            for (const QString &sitemap : {file.contentsFile(), file.indexFile()}) {
                if (sitemap.isEmpty())
                    continue;
                if (const std::optional<QByteArray> bytes = file.read(sitemap))
                    (void)vorlac::parseSitemap(*bytes);
            }
        } else if (file.error() == vorlac::ChmFile::Error::None || file.isOpen()) {
            std::abort();
        }
    }
    ::close(fd);
    return 0;
}
