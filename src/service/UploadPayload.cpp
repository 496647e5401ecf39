#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Pacer.h"
#include "widgets/Led.h"

#include <algorithm>

void TForm1::sendUploadPayload() {
    log("+++++++++++++++");
    dialogue.awaitingPrompt = false;
    dialogue.step(dialogue.done());
    pacer.wait(500);
    const QByteArray& payload = state.uploadPayload;
    constexpr qsizetype buffer = SerialPort::OutputBufferSize;
    // The unit answers once the last bytes have crossed the line.
    const auto awaitAnswer = [this](qsizetype lastSend) {
        dialogue.expect(dialogue.answerMs +
                        static_cast<int>(lastSend * 1000 / SerialPort::LineBytesPerSecond));
    };
    if (payload.size() <= buffer) {
        ApdComPort1.send(payload);
        awaitAnswer(payload.size());
        return;
    }
    // The output buffer takes at most its size at once: the rest follows in pieces of at most that
    // size, each as soon as the buffer has drained.
    ApdComPort1.send(payload.left(buffer));
    for (qsizetype sent = buffer; sent < payload.size(); sent += buffer) {
        while (ApdComPort1.outputFree() < buffer) {
            log("sending");
            RXDled->setVisible(RXDled->isHidden());
            pacer.wait(1000);
        }
        log("flush buffer");
        const qsizetype piece = std::min(buffer, payload.size() - sent);
        ApdComPort1.send(payload.mid(sent, piece));
        awaitAnswer(piece);
    }
}
