// The board menu page: the flat board list, the live boards among it and the board tree.
#include "FuzzSupport.h"

#include "core/Patterns.h"
#include "core/ServicesConfig.h"
#include "net/BoardMenu.h"

#include <QSet>
#include <cstdlib>

namespace {

// Checks what the tree widget relies on: unique keys, parents added before their children.
class CheckingSink : public BoardTreeSink
{
public:
    void addNode(const QString &key, const QString &text, const QString &parentKey) override
    {
        if (m_keys.contains(key))
            abort();
        if (!parentKey.isEmpty() && !m_keys.contains(parentKey))
            abort();
        m_keys.insert(key);
        fuzz::keep(text);
    }

private:
    QSet<QString> m_keys;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString page = fuzz::text(data, size);
    const QList<BoardLink> boards = parseBoardLinks(page);
    const QList<BoardLink> live = filterLiveBoards(boards, services());
    if (live.size() > boards.size())
        abort();
    for (const BoardLink &board : boards) {
        if (!board.address.endsWith(QStringLiteral("subback.html")))
            abort();
    }
    CheckingSink sink;
    buildBoardTree(page, sink);
    return 0;
}
