#pragma once

#include "OLP_Test_ScriptedAccess.h"

// The scripted transport as the single-threaded access tests read it: an
// unscripted data-in operation answers no bytes and succeeds, so a test
// scripts only what it checks, and the record is the plain list `calls`.
//
// Thread: the test's thread only (`calls` is read without the lock).
class OLP_Test_RecordingAccess : public OLP_Test_ScriptedAccess
{
    Q_OBJECT
public:
    // The kinds of data phase under the names these tests use.
    enum Kind
    {
        Command = Call::Command,
        DataIn = Call::Recv,
        DataOut = Call::Send
    };

    explicit OLP_Test_RecordingAccess(int connectionType = 1)
        : OLP_Test_ScriptedAccess(connectionType), calls(recordedCalls())
    {
        setUnscriptedReceiveSucceeds(true);
    }

    void connectProduct(quint32 productId) { setConnectedProduct(productId); }

    const QList<Call>& calls;
};
