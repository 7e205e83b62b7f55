# Sourced by lib/common.sh: lease files more than one script feeds to Brevane.

# write_tftpd32_sample FILE: a TFTPD32 log (CR LF) of four machines, 00:0b:29:4e:57:3a twice.
write_tftpd32_sample() {
  crlf 'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]' \
    'DHCP: proposed address 192.168.0.1' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]' \
    'Rcvd DHCP Rqst Msg for IP 192.168.0.1, Mac 00:0b:29:4e:57:3a [12/10 14:03:30.100]' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:e0:fd:3a:1b:02 [12/10 14:05:01.001]' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:E0:FD:3A:1B:01 [12/10 14:05:02.500]' >"$1"
}
