// Feeds arbitrary bytes to the form reader as a stored window, with every
// class of the game registered: whatever it reads or refuses, it must not
// crash, hang or leak. Messages that refused values would show are answered
// by the test double of the services.
#include "ClassRegistry.h"
#include "ControlSet.h"
#include "FormReader.h"
#include "T_KUBRIN.h"
#include "TestServices.h"

#include <QApplication>
#include <QBuffer>

#include <cstdint>
#include <memory>

namespace {

TTestServices* Recorded = nullptr;

void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about odd descriptions would drown the fuzzer's output.
    qInstallMessageHandler(Silent);
    static QApplication application(*argc, *argv);
    static TTestServices services;
    Recorded = &services;
    RegisterControlSet();
    RegisterClass<TKUBRIN>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    const std::unique_ptr<QWidget> form(reader.Read(buffer));
    Recorded->Clear();
    return 0;
}
