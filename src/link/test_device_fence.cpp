#include "link/test_device_fence.h"

#include <QDir>
#include <QFileInfo>

QString TestDeviceRefusal(const QString& path, const QString& device) {
    const QString root = qEnvironmentVariable("ZARN_TEST_DEVICE_ROOT");
    if (root.isEmpty() || path.isEmpty())
        return {};
    const QString folder = QFileInfo(root).canonicalFilePath() + QLatin1Char('/');
    // The folder the path names, resolved, so that a path through a link out of the test's
    // folder is outside too; the last step may be a link the test made to its pseudo-terminal.
    const QString pathFolder =
        QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath() + QLatin1Char('/');
    const bool pathInside = folder.size() > 1 && pathFolder.startsWith(folder);
    const bool deviceInside = device.isEmpty() || device.startsWith(folder) ||
                              device.startsWith(QStringLiteral("/dev/pts/"));
    if (pathInside && deviceInside)
        return {};
    return QStringLiteral("ZARN_TEST_DEVICE_ROOT: refused to open %1 (%2): a test's line leads "
                          "only into its own folder %3")
        .arg(path, device.isEmpty() ? QStringLiteral("nothing there") : device, root);
}
