#pragma once
// A TCP relay on 127.0.0.1 between the program and the test cluster that can stop passing
// bytes on the connections open so far, one way or both, while new connections pass
// normally: a server that stalls in the middle of a session (a cable pulled, a frozen
// computer), and then a server that is back for the next action.
#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

class StallingProxy
{
public:
    explicit StallingProxy(quint16 upstreamPort)
        : m_upstream(upstreamPort)
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(m_listen, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
            && ::listen(m_listen, 16) == 0) {
            socklen_t size = sizeof a;
            ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&a), &size);
            m_port = ntohs(a.sin_port);
        }
        m_thread = std::thread([this] { run(); });
    }
    ~StallingProxy()
    {
        m_stop = true;
        m_thread.join();
        for (const Pair &p : m_pairs) {
            ::close(p.client);
            ::close(p.server);
        }
        ::close(m_listen);
    }
    StallingProxy(const StallingProxy &) = delete;
    StallingProxy &operator=(const StallingProxy &) = delete;

    quint16 port() const { return m_port; }
    // The connections open now stop passing the server's answers (the requests still
    // reach the server).
    void stallAnswers() { mark(false, true); }
    // The connections open now stop passing anything.
    void stallBoth() { mark(true, true); }

private:
    struct Pair
    {
        int client;
        int server;
        bool stallRequests = false;
        bool stallAnswers = false;
    };

    void mark(bool requests, bool answers)
    {
        int generation;
        {
            std::lock_guard lock(m_mutex);
            for (Pair &p : m_pairs) {
                p.stallRequests = p.stallRequests || requests;
                p.stallAnswers = p.stallAnswers || answers;
            }
            generation = ++m_generation;
        }
        // Back only once the relay waits with the new marks: nothing sent afterwards passes.
        while (m_seen < generation)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    int connectUpstream() const
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(m_upstream);
        if (::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
            ::close(s);
            return -1;
        }
        return s;
    }

    static bool relay(int from, int to)
    {
        char buffer[16384];
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(to, buffer + done, size_t(n - done));
            if (w <= 0)
                return false;
            done += w;
        }
        return true;
    }

    void run()
    {
        while (!m_stop) {
            std::vector<pollfd> fds;
            std::vector<Pair> pairs;
            {
                std::lock_guard lock(m_mutex);
                pairs = m_pairs;
                m_seen = m_generation;
            }
            fds.push_back({ m_listen, POLLIN, 0 });
            for (const Pair &p : pairs) {
                fds.push_back({ p.client, short(p.stallRequests ? 0 : POLLIN), 0 });
                fds.push_back({ p.server, short(p.stallAnswers ? 0 : POLLIN), 0 });
            }
            if (::poll(fds.data(), nfds_t(fds.size()), 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                const int client = ::accept(m_listen, nullptr, nullptr);
                const int server = client >= 0 ? connectUpstream() : -1;
                if (server >= 0) {
                    std::lock_guard lock(m_mutex);
                    m_pairs.push_back({ client, server });
                } else if (client >= 0) {
                    ::close(client);
                }
            }
            for (std::size_t i = 0; i < pairs.size(); ++i) {
                const Pair &p = pairs[i];
                bool open = true;
                if (fds[1 + 2 * i].revents & (POLLIN | POLLHUP))
                    open = relay(p.client, p.server);
                if (open && (fds[2 + 2 * i].revents & (POLLIN | POLLHUP)))
                    open = relay(p.server, p.client);
                if (!open) {
                    std::lock_guard lock(m_mutex);
                    for (auto it = m_pairs.begin(); it != m_pairs.end(); ++it) {
                        if (it->client == p.client) {
                            ::close(it->client);
                            ::close(it->server);
                            m_pairs.erase(it);
                            break;
                        }
                    }
                }
            }
        }
    }

    quint16 m_upstream;
    quint16 m_port = 0;
    int m_listen = -1;
    std::atomic<bool> m_stop { false };
    int m_generation = 0;
    std::atomic<int> m_seen { 0 };
    std::mutex m_mutex;
    std::vector<Pair> m_pairs;
    std::thread m_thread;
};
