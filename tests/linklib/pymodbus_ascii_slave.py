"""A Modbus ASCII slave for the serial tests: pymodbus 3.0, unit 1, 19200 8N1, on the serial port given.

Holding registers 0 .. 99 hold 0x1000 + 17 * register (as the libmodbus RTU slave of the same tests);
anything beyond them gets exception 2. Runs until it is terminated. Use Debian's /usr/bin/python3.
"""
import logging
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartSerialServer
from pymodbus.transaction import ModbusAsciiFramer

REGISTERS = 100


def main():
    logging.disable(logging.CRITICAL)  # exception replies are logged as errors; they are expected here
    block = ModbusSequentialDataBlock(0, [0x1000 + 17 * r for r in range(REGISTERS)])
    unit = ModbusSlaveContext(hr=block, zero_mode=True)
    context = ModbusServerContext(slaves={1: unit}, single=False)
    StartSerialServer(context=context, framer=ModbusAsciiFramer, port=sys.argv[1], baudrate=19200,
                      bytesize=8, parity="N", stopbits=1, timeout=0.05)


if __name__ == "__main__":
    main()
