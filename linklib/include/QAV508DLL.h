/* QAV508DLL: the Modbus master that links the control panel with the relay.
 *
 * One link at a time per process: a serial port (Modbus RTU or ASCII), a Modbus TCP connection, or the
 * built-in random-data simulator. Transactions may be called from any number of threads; they run one at a
 * time, each holding the bus for all of its attempts. Every function returns a plain integer; nothing throws.
 *
 * Result codes of the transactions and of the open functions (the texts the panel shows are its own):
 *   > 0   read: number of data bytes copied (normally 2 * count); write: 1
 *   -100  no link bound, the link was closed meanwhile, or the port refused a write or read
 *   -102  no complete valid reply within the response time-out
 *   -103  the device answered with an exception; MODBUS_GetDeviceError() has its code
 *   -104  CRC (RTU) or LRC (ASCII) of the reply is wrong
 *   -105  reply from another address, unexpected function code, or wrong length
 *   -106  the port or socket is not open, or a TCP send failed (the connection is then closed)
 *   -107  the echo of a write differs from the request
 *   -108  the received bytes would reach 1024 (serial)
 *   -7    the reply carries more data than the caller's buffer takes; COM_Open: port name too long
 */
#ifndef QAV508DLL_H
#define QAV508DLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

#define QAV508DLL_API __attribute__((visibility("default")))

enum {
    MB_ERR_BUFFER = -7,
    MB_ERR_IO = -100,
    MB_ERR_TIMEOUT = -102,
    MB_ERR_EXCEPTION = -103,
    MB_ERR_CHECKSUM = -104,
    MB_ERR_FRAME = -105,
    MB_ERR_NOT_OPEN = -106,
    MB_ERR_ECHO = -107,
    MB_ERR_OVERFLOW = -108
};

/* Reads `count` holding registers from `firstRegister` of the device at `address` (low 8 bits used) with
 * function 03. Data bytes reach `buffer` in wire order, high byte first for every register. Makes at most
 * retries + 1 attempts back to back and stops at the first positive result; returns the last result.
 * A negative `retries` counts as 0. */
QAV508DLL_API int32_t MODBUS_Read03(int32_t address, int32_t firstRegister, int32_t count, uint8_t* buffer,
                                    int32_t bufferSize, int32_t retries);

/* Writes the low 16 bits of *value to register `reg` with function 06; 1 when the device echoed it. */
QAV508DLL_API int32_t MODBUS_Write06(int32_t address, int32_t reg, const int32_t* value, int32_t retries);

/* Exception code of the last exception reply of any caller; 0 after an attempt without one. */
QAV508DLL_API uint32_t MODBUS_GetDeviceError(void);

/* Opens a serial port: an absolute path as is, "COMn" as /dev/ttyS(n-1), any other name as /dev/<name>.
 * Exclusive. 0; -1 null name or the device is missing, busy or refused; -7 name too long.
 * Closes a serial port opened before. The line is configured by COM_Setup. */
QAV508DLL_API int32_t COM_Open(const char16_t* port);

/* Line settings by index: baud 0 = 9600, 1 = 19200; data bits 0 = 7, else 8; parity 1 = even, else none;
 * stop bits 0 = 1, else 2 (any other index takes the last choice). 0; -1 no port open; -2 refused. */
QAV508DLL_API int32_t COM_Setup(int32_t baud, int32_t dataBits, int32_t parity, int32_t stopBits);

/* Closes the serial port and unbinds the link: callers inside or waiting for a transaction get -100. 0. */
QAV508DLL_API int32_t COM_Close(void);
QAV508DLL_API int32_t COM_IsOpen(void);

/* Connects to a Modbus TCP server at a dotted-decimal IPv4 address. 0; -3 null address or no socket;
 * -4 options refused, not a dotted-decimal address, port outside 1..65535, unreachable or refused;
 * -8 receiver not started. After a failure the socket stays allocated until TCP_Close. */
QAV508DLL_API int32_t TCP_Open(const char16_t* address, int32_t port);

/* Closes the connection, stops the receiver and unbinds the link; returns promptly. 0. */
QAV508DLL_API int32_t TCP_Close(void);
QAV508DLL_API int32_t TCP_IsOpen(void);

/* Binds the simulator: reads give random bytes 0..254, writes succeed without effect. 0. */
QAV508DLL_API int32_t DEBUG_Open(void);
QAV508DLL_API int32_t DEBUG_Close(void);

/* 1 = Modbus ASCII, anything else RTU; takes effect at the next COM_Open. */
QAV508DLL_API void DLL_SetIOProtocol(uint32_t protocol);

/* Response time-out of one attempt in milliseconds (initially 100); read at the start of every attempt. */
QAV508DLL_API void DLL_SetIOTimeout(uint32_t milliseconds);

/* A word kept for the caller; the library never interprets it. */
QAV508DLL_API void DLL_SetUserFlag(uint32_t flag);
QAV508DLL_API uint32_t DLL_GetUserFlag(void);

/* Directions of a trace report. */
enum { QAV_TRACE_SENT = 0, QAV_TRACE_RECEIVED = 1 };

/* A trace report of the serial and TCP links, one per event of every attempt (each retry is an attempt):
 *   QAV_TRACE_SENT      the request frame exactly as it was handed to the port or socket; `result` is 0.
 *   QAV_TRACE_RECEIVED  the attempt has ended: the bytes it received (none after a silent device or a failed
 *                       send) and its result code, as listed above. For -103, MODBUS_GetDeviceError() already
 *                       holds the exception code.
 * `bytes` is valid only during the call. Attempts that fail before sending (port not open) report only their
 * end; the simulator link of DEBUG_Open has no wire and reports nothing.
 * The callback runs in the thread of the transaction while that thread holds the bus and the hook's lock: it
 * must return quickly (every transaction of every thread waits for it), and it must not call the library,
 * except MODBUS_GetDeviceError, which it may read. */
typedef void (*QAV_TraceCallback)(void* context, int32_t direction, const uint8_t* bytes, int32_t size,
                                  int32_t result);

/* Sets the callback that receives the trace reports, with a `context` passed back to it; a null callback
 * switches tracing off. Safe while transactions run in other threads: it waits for a report in progress, so
 * once it returns the previous callback and context are never used again. Without a callback tracing costs
 * one atomic load per report. */
QAV508DLL_API void DLL_SetTraceCallback(QAV_TraceCallback callback, void* context);

/* One measured quantity: raw value / nDivisor is the value in szUnit. Texts are constant UTF-16. */
struct _tagSTRUCT_MEASURE_INFO {
    uint32_t nDivisor;
    const char16_t* szShortName;
    const char16_t* szUnit;
    const char16_t* szDescription;
};

/* One alarm kind: nRegister holds the value at which the protection tripped (0 = none); the value divided
 * by nDivisor is in szUnit (nDivisor 0 = shown as an integer). */
struct _tagSTRUCT_ERR_INFO {
    uint32_t nRegister;
    uint32_t nDivisor;
    const char16_t* szUnit;
    const char16_t* szShortName;
    const char16_t* szDescription;
};

QAV508DLL_API extern const struct _tagSTRUCT_MEASURE_INFO dll_nMeasureInfo[55];
QAV508DLL_API extern const struct _tagSTRUCT_ERR_INFO dll_nErrInfo[40];

QAV508DLL_API extern const uint32_t dll_nID;       /* identity the relay reports in register 0 */
QAV508DLL_API extern const uint32_t dll_nVerDll;   /* layout version of the recorded data */
QAV508DLL_API extern const uint32_t dll_nVerMajor; /* highest supported firmware version */
QAV508DLL_API extern const uint32_t dll_nVerMinor; /* lowest supported firmware version */
QAV508DLL_API extern const uint32_t dll_nVerDevAdr;

#ifdef __cplusplus
}
#endif

#endif
