// The download thread: fetches the queued remote files over a connection of its
// own and reports rows to the download queue window. What it needs of the
// browsing connection and the settings is copied before it starts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "PTargetFolders.h"
#include "PTargetMaker.h"
#include "SFile.h"
#include "SSocketClient.h"
#include "SThread.h"

class PWndApp;
class PWndNet;

class PThreadClientFiles : public SThread
{
public:
    // The connection of one run, which reports the transfer's percent.
    class _PSocket : public SSocketClient
    {
    public:
        explicit _PSocket(PThreadClientFiles* thread) : m_thread(thread) {}
        void OnTransferStart(int size, uint32_t tag) override;
        int OnTransferProgress(int received, int size, uint32_t tag) override;
        void OnTransferEnd(int received, int size, uint32_t tag) override;

    private:
        void ReportPercent();
        PThreadClientFiles* m_thread;
    };

    // The local file a transfer appends to: it takes bytes only from a
    // transfer that announced what remains, so a server announcing more (or
    // less) cannot make the copy longer than the remote file. It counts what
    // it took: a row is done only with all of it written for that row.
    class _PTarget : public SFile
    {
    public:
        _PTarget(const SSocketClient& socket, long long remaining)
            : m_socket(socket), m_remaining(remaining), m_written(0)
        {
        }
        int Write(const void* data, int n) override;
        long long GetWritten() const { return m_written; }

    private:
        const SSocketClient& m_socket;
        const long long m_remaining;
        long long m_written;
    };

    PThreadClientFiles()
        : m_owner(nullptr), m_queue(nullptr), m_targets(nullptr), m_maker(nullptr), m_port(0), m_row(-1),
          m_offset(0), m_remaining(0), m_percent(-1), m_quiet(false), m_shown(0), m_answered(0), m_losses(0)
    {
    }
    ~PThreadClientFiles() override { Stop(); }

    void SetOwner(PWndApp* owner, PWndNet* queue)
    {
        m_owner = owner;
        m_queue = queue;
    }
    PWndApp* GetOwner() const { return m_owner; }
    PWndNet* GetQueueWindow() const { return m_queue; }
    // Before a start: where to connect, with which key, and where files go.
    void Prepare(const char* host, int port, const char* key, const char* name, const char* root);
    bool Run() override;

private:
    friend class _PSocket;
    // A queued row taken for download, followed by its path (rows may be
    // removed and renumbered meanwhile). Two rows are asked ahead of the one
    // being received, so the server has the next file ready while this
    // target is made: each row's "105" goes out before the "106" of the row
    // before it, whose file is read only after that size.
    struct _PFile
    {
        int row = -1; // where it was when taken: a hint only
        SString path, target;
        std::string key; // the target as the file system folds it
        bool asked = false; // its "105" is on the wire
        long long remote = -1, local = 0;
        int state = PENDING;
        std::shared_ptr<PTargetMaker::_PJob> made; // a new target being made
    };
    // States beside the rows' own: not decided yet, and "106" on the wire.
    static const int PENDING = -2;
    static const int FETCHING = -3;
    static const DWORD SHOW_PERIOD = 100;

    // The rows of one connection; LEFT_QUEUED when it ended or a stop came
    // before the queue was through.
    int Fetch(_PSocket& socket);
    // A new connection after a lost one, tried until the server answers, a
    // stop, or a bound since its last answer.
    bool Reconnect(_PSocket& socket);
    void Take(_PSocket& socket, const std::vector<SString>& held, _PFile* file);
    bool ReadSize(_PSocket& socket, _PFile& file);
    void Decide(_PSocket& socket, _PFile& file);
    int Download(_PSocket& socket, _PFile& file, _PFile& next, _PFile* after);
    int Receive(_PSocket& socket, const _PFile& file);
    void ReportPercent(long long done, long long total);
    void SetPercent(int percent);

    PWndApp* m_owner;
    PWndNet* m_queue;
    PTargetFolders* m_targets; // those of the run under way
    PTargetMaker* m_maker;
    SString m_host, m_key, m_name, m_root;
    int m_port;
    // The file being received, its row when it was taken, the local size it
    // resumes from, what remains of it, and the percent told last; no
    // percent is told for a transfer that is only read past.
    SString m_path;
    int m_row;
    long long m_offset;
    long long m_remaining;
    int m_percent;
    bool m_quiet;
    // When a percent was last shown.
    DWORD m_shown;
    // When the server last answered (timeGetTime): reconnecting is given up
    // a while after it.
    DWORD m_answered;
    // Connections lost since a row last ended or bytes were last written.
    int m_losses;
};
