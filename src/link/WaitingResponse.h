#pragma once

#include <QByteArray>

// The response data of a T=1 card waiting for GET RESPONSE. A T=1 card gives the
// data of a command that also sends data with its status word at once; a T=0 card
// announces them (61 xx) and gives them to the GET RESPONSE that follows, which is
// what a program written for T=0 expects. Keep takes such a response and gives its
// announcement; Give answers a GET RESPONSE as a T=0 card would.
class WaitingResponse {
public:
    // Keeps a response (data, SW1 SW2) that has data, returning 61 xx for it; any
    // other response is returned as it is.
    QByteArray Keep(const QByteArray& response);
    bool Holds() const { return !m_data.isEmpty(); }
    // The response APDU of GET RESPONSE for P3 bytes (00: 256): the data and the
    // card's status word, 61 xx while more wait, or 6C xx for more than wait.
    QByteArray Give(quint8 p3);
    void Clear();

private:
    QByteArray m_data;
    QByteArray m_status;
};
