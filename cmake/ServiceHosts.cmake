# Host names of the service. The defaults are loopback addresses served by the bundled simulator;
# a real deployment sets the service's own host names.
set(QUORVEX_IM_HOST "127.0.0.2" CACHE STRING "Host of the IM login server (port 8887)")
set(QUORVEX_WAP_HOST "127.0.0.3" CACHE STRING "Host of the WAP gateway (/kelo_http/, /kelo_commbook/)")
set(QUORVEX_CIP_HOST "127.0.0.4" CACHE STRING "Host of the client-address service (/api/cip)")
set(QUORVEX_COMMBOOK_HOST "127.0.0.5" CACHE STRING "Host of the address-book server (port 9090)")
configure_file(${CMAKE_CURRENT_LIST_DIR}/service_hosts.h.in ${PROJECT_BINARY_DIR}/generated/service_hosts.h
               @ONLY)
